#include "TvVpdActions.h"
#include "VPDDlgImpl.h"
#include "VPDValidator.h"

#include "ui/TvAdapterSession.h"
#include "ui/TvAsk.h"
#include "ui/log/TvLogBook.h"
#include "ui/TvContextText.h"

#include "core/TvStatusCodes.h"

#include <probekit.h>

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableWidget>

#include <algorithm>
#include <memory>

namespace {

constexpr TvContextText msg{TvContextText::MainWindow};

constexpr int VpdBufferOverflow = 18;
// However long a list the core says it has, no more is asked for.
constexpr quint32 LongestList = 65536;

QTableWidgetItem *readOnlyItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QLineEdit *frameless(int maxLength)
{
    auto *editor = new QLineEdit;
    editor->setMaxLength(maxLength);
    editor->setFrame(false);
    return editor;
}

// The first character of `text` that a value cannot hold: the core stores
// 8-bit text up to a terminating zero.
bool unstorableCharacter(const QString &text, uint *character)
{
    for (const uint c : text.toUcs4()) {
        if (c == 0 || c > 0xFF) {
            *character = c;
            return true;
        }
    }
    return false;
}

} // namespace

TvVpdActions::TvVpdActions(bool advanced, TvAsk *ask, TvLogBook *log, TvAdapterSession *session,
                           QWidget *dialogParent, QObject *parent)
    : QObject(parent), advanced(advanced), ask(ask), log(log), session(session),
      dialogParent(dialogParent)
{
}

bool TvVpdActions::isModuleEntry(const QString &keyword)
{
    return keyword.startsWith(QLatin1String("module."));
}

QString TvVpdActions::shownKeyword(const QString &keyword)
{
    static const struct {
        const char *field;
        const char *key;
    } fields[] = {{"vendor", "VPD_MODULE_VENDOR"},       {"part", "VPD_MODULE_PART"},
                  {"revision", "VPD_MODULE_REVISION"},   {"serial", "VPD_MODULE_SERIAL"},
                  {"date", "VPD_MODULE_DATE"},           {"connector", "VPD_MODULE_CONNECTOR"},
                  {"wavelength", "VPD_MODULE_WAVELENGTH"}};
    const QStringList parts = keyword.split(QLatin1Char('.'));
    if (!isModuleEntry(keyword) || parts.size() != 3)
        return keyword;
    for (const auto &field : fields) {
        if (parts.at(2) == QLatin1String(field.field))
            return msg("VPD_MODULE_KEYWORD %1 %2").arg(parts.at(1).toUpper(), msg(field.key));
    }
    return keyword;
}

bool TvVpdActions::isWritable(const QString &keyword)
{
    if (isModuleEntry(keyword))
        return false;
    static const QRegularExpression rule(QStringLiteral("[VY]{1,1}([0-9]|[A-Z]){1,1}"));
    // The matcher refuses text that is not valid UTF-16 (a lone surrogate,
    // pasted in) and would call "V1" in it read-only. No surrogate can be
    // part of a match, so they are blanked out first.
    QString subject = keyword;
    if (!subject.isValidUtf16()) {
        for (QChar &c : subject) {
            if (c.isSurrogate())
                c = QChar::ReplacementCharacter;
        }
    }
    return rule.match(subject).hasMatch();
}

QString TvVpdActions::valueText(const QByteArray &bytes)
{
    const bool printable = std::all_of(bytes.begin(), bytes.end(),
                                       [](char c) { return c >= 0x20 && c <= 0x7E; });
    if (printable)
        return QString::fromLatin1(bytes);
    // Shown whole, however long: the dump of a 256-byte value is 1280
    // characters.
    QString dump;
    dump.reserve(bytes.size() * 5);
    for (char c : bytes)
        dump += QString::asprintf("0x%2.02X ", static_cast<unsigned char>(c));
    return dump;
}

void TvVpdActions::showStatus(int status) const
{
    showCritical(TvStatusCodes::statusText(status));
}

void TvVpdActions::showCritical(const QString &text) const
{
    ask->untitled(TvAsk::OverOwner, TvDialogSeam::Critical, text,
                  {{TvDialogSeam::Cancel, msg("CANCEL_TEXT")}});
}

void TvVpdActions::showDone(const QString &text) const
{
    ask->untitled(TvAsk::OverOwner, TvDialogSeam::Information, text,
                  {{TvDialogSeam::Ok, msg("OK_TEXT")}});
}

QString TvVpdActions::oldValue(const QString &keyword, const QList<VpdEntry> &entries)
{
    for (const VpdEntry &entry : entries) {
        if (entry.keyword == keyword)
            return entry.value;
    }
    return QString();
}

// ---------------------------------------------------------------------------
// Reading
// ---------------------------------------------------------------------------

QByteArray TvVpdActions::listKeywords(quint32 *count)
{
    QByteArray buffer(ListBufferSize, '\0');
    uint32_t size = ListBufferSize;
    uint32_t listed = 0;
    int status = VpdListKeywords(buffer.data(), &size, &listed);
    // A list longer than the buffer: the core says how long, and the
    // first keywords of it are shown.
    if (status == VpdBufferOverflow && size > ListBufferSize && size <= LongestList) {
        buffer = QByteArray(int(size), '\0');
        listed = 0;
        status = VpdListKeywords(buffer.data(), &size, &listed);
    }
    if (status != 0) {
        showStatus(status);
        *count = 0;
        return QByteArray();
    }
    *count = listed;
    // Up to the terminating zero, and never past the buffer when the core
    // left none.
    return buffer.left(int(qstrnlen(buffer.constData(), uint(buffer.size()))));
}

bool TvVpdActions::readValue(const QByteArray &keyword, QByteArray *value)
{
    QByteArray buffer(ValueBufferSize, '\0');
    uint32_t size = ValueBufferSize;
    const int status = VpdReadKeyword(keyword.constData(), buffer.data(), &size);
    if (status != 0) {
        showStatus(status);
        return false;
    }
    buffer.truncate(int(std::min<uint32_t>(size, ValueBufferSize)));
    *value = buffer;
    return true;
}

int TvVpdActions::readVpd(QList<VpdEntry> *entries)
{
    entries->clear();
    quint32 count = 0;
    const QByteArray list = listKeywords(&count);
    for (const QByteArray &keyword : list.split(' ')) {
        if (keyword.isEmpty())
            continue;
        if (quint32(entries->size()) >= count || entries->size() >= MaxEntries)
            break;
        VpdEntry entry;
        entry.keyword = QString::fromLatin1(keyword);
        if (!readValue(keyword, &entry.bytes)) {
            entries->clear();
            return 0;
        }
        entry.value = valueText(entry.bytes);
        entries->append(entry);
    }
    return entries->size();
}

// ---------------------------------------------------------------------------
// View
// ---------------------------------------------------------------------------

void TvVpdActions::vpdviewSlot()
{
    const auto dialog = std::make_unique<VPDDlgImpl>(dialogParent);
    dialog->setWindowTitle(msg("VIEW_VPD"));
    dialog->setHelpShown(false);
    QTableWidget *table = dialog->table();
    table->verticalHeader()->hide();
    QList<VpdEntry> entries;
    if (readVpd(&entries) == 0)
        return;
    table->setRowCount(entries.size());
    for (int row = 0; row < entries.size(); ++row) {
        table->setItem(row, 0, readOnlyItem(shownKeyword(entries.at(row).keyword)));
        table->setItem(row, 1, readOnlyItem(entries.at(row).value));
    }
    table->resizeColumnsToContents();
    ask->execDialog(dialog.get());
}

// ---------------------------------------------------------------------------
// Edit
// ---------------------------------------------------------------------------

void TvVpdActions::vpdEditSlot()
{
    if (!advanced)
        return;
    const auto dialog = std::make_unique<VPDDlgImpl>(dialogParent);
    dialog->setWindowTitle(msg("EDIT_VPD"));
    dialog->table()->verticalHeader()->hide();
    QList<VpdEntry> entries;
    if (readVpd(&entries) == 0)
        return;
    const QList<EditRow> rows = fillEditTable(dialog.get(), entries);
    // A value that cannot be stored brings the dialog back as the user
    // left it, rather than losing what was typed.
    do {
        if (ask->execDialog(dialog.get()) != QDialog::Accepted)
            return;
    } while (!valuesStorable(rows));
    QStringList written;
    for (const EditRow &row : rows) {
        const QString keyword = writeRow(row, entries);
        if (!keyword.isEmpty())
            written.append(keyword);
    }
    if (!written.isEmpty())
        showDone(msg("VPD_KEYS_WRITTEN %1").arg(written.join(QStringLiteral(", "))));
}

QList<TvVpdActions::EditRow> TvVpdActions::fillEditTable(VPDDlgImpl *dialog,
                                                         const QList<VpdEntry> &entries)
{
    QTableWidget *table = dialog->table();
    table->setRowCount(EditRows);
    QList<EditRow> rows;
    auto writable = entries.begin();
    for (int r = 0; r < EditRows; ++r) {
        EditRow row;
        row.keyword = frameless(KeywordLength);
        row.value = frameless(ValueLength);
        writable = std::find_if(writable, entries.end(),
                                [](const VpdEntry &e) { return isWritable(e.keyword); });
        if (writable != entries.end()) {
            row.entry = &*writable++;
            row.keyword->setText(row.entry->keyword);
            fillValueEditor(&row);
        }
        // A keyword may be cut to its editor's two characters.
        row.shownKeyword = row.keyword->text();
        row.shownValue = row.value->text();
        // Set after the text: a keyword the core holds is not the user's
        // typing to be refused.
        row.keyword->setValidator(new VPDValidator(row.keyword));
        table->setCellWidget(r, 0, row.keyword);
        table->setCellWidget(r, 1, row.value);
        rows.append(row);
    }
    table->resizeColumnsToContents();
    rows.first().keyword->setFocus();
    return rows;
}

void TvVpdActions::fillValueEditor(EditRow *row) const
{
    const VpdEntry &entry = *row->entry;
    // Editing a hexadecimal dump would store the dump's text, and a value
    // longer than the editor would lose its end: such a value is shown
    // whole and cannot be changed.
    if (entry.value == QString::fromLatin1(entry.bytes) && entry.bytes.size() <= ValueLength) {
        row->value->setText(entry.value);
        return;
    }
    row->value->setMaxLength(entry.value.size());
    row->value->setText(entry.value);
    row->value->setReadOnly(true);
    row->value->setToolTip(msg("VPD_VALUE_NOT_EDITABLE"));
}

bool TvVpdActions::isWritten(const EditRow &row)
{
    return !row.keyword->text().isEmpty()
           && (row.keyword->text() != row.shownKeyword || row.value->text() != row.shownValue);
}

bool TvVpdActions::valueTyped(const EditRow &row)
{
    return !row.entry || row.value->text() != row.shownValue;
}

bool TvVpdActions::valuesStorable(const QList<EditRow> &rows) const
{
    for (const EditRow &row : rows) {
        if (!isWritten(row) || !valueTyped(row))
            continue;
        uint character = 0;
        if (!unstorableCharacter(row.value->text(), &character))
            continue;
        const QString code = QStringLiteral("U+%1").arg(character, 4, 16, QLatin1Char('0')).toUpper();
        showCritical(msg("VPD_VALUE_NOT_8BIT %1 %2 %3")
                         .arg(row.keyword->text(), QString::fromUcs4(&character, 1), code));
        row.value->setFocus();
        return false;
    }
    return true;
}

QString TvVpdActions::writeRow(const EditRow &row, const QList<VpdEntry> &entries)
{
    if (!isWritten(row))
        return QString();
    // What the user left alone is written as the core holds it: a keyword
    // cut to its editor, or a value shown in hexadecimal, never as the
    // text the row showed.
    const QString keywordText = row.keyword->text();
    const QString keyword =
        row.entry && keywordText == row.shownKeyword ? row.entry->keyword : keywordText;
    const QByteArray value = valueTyped(row) ? row.value->text().toLatin1() : row.entry->bytes;
    if (keyword.length() != KeywordLength || !isWritable(keyword)) {
        showCritical(msg("VPD_KEY_READONLY %1").arg(keyword));
        return QString();
    }
    // The core takes the value as a zero-terminated text.
    if (value.contains('\0')) {
        showCritical(msg("VPD_VALUE_NOT_WRITABLE %1").arg(keyword));
        return QString();
    }
    const int status = VpdWriteKeyword(keyword.toLatin1().constData(), value.constData());
    if (status != 0) {
        showStatus(status);
        return QString();
    }
    // Both values as the dialogs show them: hexadecimal stays hexadecimal.
    log->addForcedLine(msg("VPD_KEYWORD_WRITTEN_LOG %1 %2 %3 %4")
                           .arg(session->logName(), keyword, oldValue(keyword, entries),
                                valueText(value)));
    return keyword;
}

// ---------------------------------------------------------------------------
// Delete
// ---------------------------------------------------------------------------

void TvVpdActions::vpdDelete()
{
    if (!advanced)
        return;
    const auto dialog = std::make_unique<VPDDlgImpl>(dialogParent);
    dialog->setWindowTitle(msg("DELETE_VPD"));
    dialog->setHelpShown(false);
    dialog->table()->verticalHeader()->hide();
    QList<VpdEntry> entries;
    if (readVpd(&entries) == 0)
        return;
    const int filled = fillDeleteTable(dialog.get(), entries);
    if (filled == 0) {
        showCritical(msg("NO_DELETABLE_VPD_KEY"));
        return;
    }
    QStringList deleted;
    if (ask->execDialog(dialog.get()) == QDialog::Accepted) {
        const QStringList chosen = selectedKeywords(dialog.get(), filled);
        // Return alone deletes nothing.
        if (!chosen.isEmpty()
            && ask->untitled(TvAsk::OverOwner, TvDialogSeam::Question,
                             msg("CONFIRM_VPD_DELETE %1").arg(chosen.join(QStringLiteral(", "))),
                             {{TvDialogSeam::Yes, QString()}, {TvDialogSeam::No, QString(), true}})
                   == TvDialogSeam::Yes)
            deleted = deleteKeywords(chosen, entries);
    }
    showDone(deleted.isEmpty() ? msg("NO_VPD_KEY_DELETED")
                               : msg("VPD_KEY_DELETED %1").arg(deleted.join(QStringLiteral(", "))));
}

int TvVpdActions::fillDeleteTable(VPDDlgImpl *dialog, const QList<VpdEntry> &entries)
{
    QTableWidget *table = dialog->table();
    table->setRowCount(entries.size());
    table->setSelectionMode(QAbstractItemView::MultiSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    int filled = 0;
    for (const VpdEntry &entry : entries) {
        if (!isWritable(entry.keyword))
            continue;
        table->setItem(filled, 0, readOnlyItem(entry.keyword));
        table->setItem(filled, 1, readOnlyItem(entry.value));
        ++filled;
    }
    table->resizeColumnToContents(0);
    return filled;
}

QStringList TvVpdActions::selectedKeywords(VPDDlgImpl *dialog, int filledRows) const
{
    QTableWidget *table = dialog->table();
    QStringList keywords;
    for (int row = 0; row < filledRows; ++row) {
        if (table->selectionModel()->isRowSelected(row, QModelIndex()))
            keywords.append(table->item(row, 0)->text());
    }
    return keywords;
}

QStringList TvVpdActions::deleteKeywords(const QStringList &keywords, const QList<VpdEntry> &entries)
{
    QStringList deleted;
    for (const QString &keyword : keywords) {
        const int status = VpdDeleteKeyword(keyword.toLatin1().constData());
        if (status != 0) {
            showStatus(status);
            continue;
        }
        log->addForcedLine(msg("VPD_KEYWORD_DELETED_LOG %1 %2 %3")
                               .arg(session->logName(), keyword, oldValue(keyword, entries)));
        deleted.append(keyword);
    }
    return deleted;
}
