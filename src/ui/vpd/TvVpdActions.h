#pragma once
#include "VpdEntry.h"

#include <QList>
#include <QObject>

class QLineEdit;
class QWidget;
class TvAdapterSession;
class TvAsk;
class TvLogBook;
class VPDDlgImpl;

// The VPD menu: view every keyword of the selected adapter, and in advanced
// mode edit the writable ones (V0..VZ, Y0..YZ) or delete some of them. Each
// action reads the VPD afresh into a table dialog and, for edit and delete,
// writes the changes back through the core. Every change is logged with
// the adapter, the keyword and the old and new values, and the result box
// names what changed. GUI thread only.
class TvVpdActions : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxEntries = 32;
    static constexpr int ListBufferSize = 512;
    static constexpr int ValueBufferSize = 256;
    static constexpr int EditRows = 32;
    static constexpr int KeywordLength = 2;
    // The longest value a keyword holds (its length field is one byte):
    // an editor of this length shows every value whole.
    static constexpr int ValueLength = 255;

    // Boxes go through `ask`; the dialogs are children of `dialogParent`;
    // changes go to `log`, naming the session's adapter.
    TvVpdActions(bool advanced, TvAsk *ask, TvLogBook *log, TvAdapterSession *session,
                 QWidget *dialogParent, QObject *parent = nullptr);

    // Reads at most 32 keywords and their values into `entries`; returns
    // how many, 0 after a failure (which has been shown).
    int readVpd(QList<VpdEntry> *entries);

    // "V" or "Y" followed by a digit or capital, anywhere in the keyword;
    // never an entry of a module's.
    static bool isWritable(const QString &keyword);
    // The identity of the pluggable module in a port ("module.a.vendor"),
    // which the core lists with the card's keywords but which is the
    // module's, read-only.
    static bool isModuleEntry(const QString &keyword);
    // As the view names a keyword: "Module A: vendor" for a module's entry,
    // the card's own keywords as they are.
    static QString shownKeyword(const QString &keyword);
    // Text when every byte is printable, else "0x%2.02X " per byte.
    static QString valueText(const QByteArray &bytes);

public slots:
    void vpdviewSlot();
    void vpdEditSlot();
    void vpdDelete();

private:
    // One row of the edit dialog and what it showed when it opened.
    struct EditRow {
        QLineEdit *keyword = nullptr;
        QLineEdit *value = nullptr;
        QString shownKeyword;
        QString shownValue;
        const VpdEntry *entry = nullptr;
    };

    QByteArray listKeywords(quint32 *count);
    bool readValue(const QByteArray &keyword, QByteArray *value);
    void showStatus(int status) const;
    void showCritical(const QString &text) const;
    QList<EditRow> fillEditTable(VPDDlgImpl *dialog, const QList<VpdEntry> &entries);
    void fillValueEditor(EditRow *row) const;
    // False after showing why a typed value cannot be stored; its editor
    // then has the focus.
    bool valuesStorable(const QList<EditRow> &rows) const;
    static bool isWritten(const EditRow &row);
    static bool valueTyped(const EditRow &row);
    // The keyword written, empty when nothing was.
    QString writeRow(const EditRow &row, const QList<VpdEntry> &entries);
    int fillDeleteTable(VPDDlgImpl *dialog, const QList<VpdEntry> &entries);
    QStringList selectedKeywords(VPDDlgImpl *dialog, int filledRows) const;
    QStringList deleteKeywords(const QStringList &keywords, const QList<VpdEntry> &entries);
    // The value the keyword held as the dialogs showed it; "" for none.
    static QString oldValue(const QString &keyword, const QList<VpdEntry> &entries);
    void showDone(const QString &text) const;

    bool advanced;
    TvAsk *ask;
    TvLogBook *log;
    TvAdapterSession *session;
    QWidget *dialogParent;
};
