#pragma once
#include <QString>
#include <QStringList>
#include <QStringRef>
#include <QStringView>

class CAdapterInfo;
class QIODevice;
class QXmlStreamReader;

// What the three description file readers share: the store they fill, the
// nesting level of their level rules, the way the files write numbers,
// versions and attributes, and the reading loop that feeds them.
//
// The loop hands the readers their events in the pieces the files were
// written for: white space between elements arrives as character data, and
// a CDATA section, or the text after a comment, is a piece of its own. The
// level rules depend on that. The stream reader behind it does not recurse,
// so no nesting can exhaust the stack; nesting deeper than MaxDepth refuses
// the file all the same, since no description comes near it.
class DescriptionParser
{
public:
    explicit DescriptionParser(CAdapterInfo *store);
    virtual ~DescriptionParser();
    DescriptionParser(const DescriptionParser &) = delete;
    DescriptionParser &operator=(const DescriptionParser &) = delete;

    // Reads the document at the device's current position. Where it is not
    // well-formed, declares entities, or a text carries a control character
    // other than tab and line breaks, reading stops:
    // what came before stays, and a reader warning names the line. Returns
    // false only when the file is refused (its message box has been shown).
    bool parse(QIODevice *device, const QString &path);

    // Integer text as the files write it: white space around it, an
    // optional sign, then digits of the base and nothing else. Any other
    // text, a "0x" prefix included, and any value outside 32 bits reads as 0.
    static int readNumber(QStringView text, int base = 10);
    // Calls take(piece) for each piece of text between commas, in order;
    // empty pieces count.
    template <typename Take>
    static void forEachPiece(QStringView text, Take take);

    // Element names against the readers' tables: most names differ in
    // length, which is checked inline before any comparison call.
    static bool isName(const QStringRef &name, QLatin1String key)
    {
        return name.size() == key.size() && name == key;
    }

    // Deeper nesting refuses the file; the shipped files use four levels.
    static constexpr int MaxDepth = 64;

protected:
    // Answering false stops the reading without a warning (a refused version).
    virtual bool startElement(const QStringRef &name) = 0;
    virtual void endElement(const QStringRef &name) = 0;
    virtual void characters(const QStringRef &text) = 0;

    // A text to keep. QStringRef::toString() would hand out the reader's
    // whole buffer, shared, when the piece fills it: every field kept that
    // way would pin a buffer of hundreds of bytes.
    static QString textOf(const QStringRef &text) { return QString(text.unicode(), text.size()); }
    // The files never name the attribute they mean; it is the first one.
    // Only valid inside startElement.
    QString firstAttribute() const;
    // Shows the wrong-version box (caption the banner) when the root's first
    // attribute, read as a floating-point number, is not 1.0.
    bool acceptVersion(const char *context, const char *key) const;
    // A reader warning located at the current line: the key's %1 is the
    // file, %2 the line, %3 onwards the given texts.
    void warn(const char *context, const char *key, const QStringList &texts = {}) const;

    CAdapterInfo *m_store;
    int m_level = 0;

private:
    bool readToken(int *depth);
    void refuseDepth() const;

    QXmlStreamReader *m_reader = nullptr;
    QString m_path;
};

template <typename Take>
void DescriptionParser::forEachPiece(QStringView text, Take take)
{
    // Pieces are short: a plain scan beats a search call per piece.
    const QChar *start = text.begin();
    for (const QChar *c = start; c != text.end(); ++c) {
        if (*c == QLatin1Char(',')) {
            take(QStringView(start, c));
            start = c + 1;
        }
    }
    take(QStringView(start, text.end()));
}
