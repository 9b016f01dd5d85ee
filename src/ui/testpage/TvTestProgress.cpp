#include "TvTestProgress.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace {

QLabel *makeTextLabel(QWidget *parent, const char *name, const QSize &minimum, int height)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setMinimumSize(minimum);
    label->setMaximumSize(QWIDGETSIZE_MAX, height);
    label->setTextFormat(Qt::RichText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setWordWrap(true);
    return label;
}

QString plainText(const QString &text)
{
    return Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

} // namespace

TvTestProgress::TvTestProgress(QWidget *parent, const QString &name) : QWidget(parent)
{
    setObjectName(name);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    checkBox = new QCheckBox(this);
    checkBox->setObjectName(QStringLiteral("test_checkbox"));
    checkBox->setFixedSize(30, 25);
    connect(checkBox, &QCheckBox::clicked, this, &TvTestProgress::checkTest);

    nameLabel = makeTextLabel(this, "test_testName", QSize(140, 30), 30);

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("test_progressbar"));
    // Narrow enough to leave the result text its room in the default window.
    progressBar->setMinimumSize(ProgressMinimumWidth, 25);
    progressBar->setMaximumSize(QWIDGETSIZE_MAX, 25);

    resultLabel = makeTextLabel(this, "test_resulttext", QSize(80, 25), 25);

    pictureLabel = new QLabel(this);
    pictureLabel->setObjectName(QStringLiteral("test_resultpixmap"));
    pictureLabel->setFixedSize(25, 25);
    pictureLabel->setScaledContents(true);

    // The result text gets the larger share of a wide row: a bar shows its
    // progress at any width, a text only when it has room.
    resultLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    layout->addWidget(checkBox);
    layout->addWidget(nameLabel);
    layout->addWidget(progressBar, 1);
    layout->addWidget(resultLabel, 3);
    layout->addWidget(pictureLabel);
}

int TvTestProgress::fittingPointSize(const QFont &font, const QString &text, const QSize &box,
                                     const QList<int> &sizes, int fallback)
{
    const QString plain = plainText(text);
    for (int size : sizes) {
        QFont f(font);
        f.setPointSize(size);
        const QRect needed = QFontMetrics(f).boundingRect(QRect(QPoint(), box),
                                                          Qt::AlignLeft | Qt::TextWordWrap, plain);
        if (needed.width() <= box.width() && needed.height() <= box.height())
            return size;
    }
    return fallback;
}

QString TvTestProgress::resultText() const
{
    return fullResult;
}

bool TvTestProgress::resultElided() const
{
    return !resultLabel->toolTip().isEmpty();
}

void TvTestProgress::setResultText(const QString &text)
{
    fullResult = text;
    cutReported = false;
    fitResult();
}

void TvTestProgress::fitResult()
{
    // The largest size at which the text fits; a text that fits at none is
    // cut at its end, and the whole of it is the label's tooltip.
    QFont f = resultLabel->font();
    const QSize box = resultLabel->contentsRect().size();
    const int size = fittingPointSize(f, fullResult, box, {12, 11, 10, 9}, 0);
    // Until the row is laid out on the screen its label's size means
    // nothing: the text is cut only where it is seen.
    const bool fits = size > 0 || !isVisible();
    f.setPointSize(size > 0 ? size : 9);
    resultLabel->setFont(f);
    if (fits) {
        resultLabel->setText(fullResult);
        resultLabel->setToolTip(QString());
        return;
    }
    const QString plain = plainText(fullResult);
    resultLabel->setText(QFontMetrics(f).elidedText(plain, Qt::ElideRight, box.width()).toHtmlEscaped());
    resultLabel->setToolTip(plain);
    if (!cutReported) {
        cutReported = true;
        emit resultCut(plain);
    }
}

void TvTestProgress::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!fullResult.isEmpty())
        fitResult();
}

void TvTestProgress::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!fullResult.isEmpty())
        fitResult();
}

QString TvTestProgress::testName() const
{
    static const QRegularExpression qtTags(QStringLiteral("</{0,1}qt>"));
    return nameLabel->text().remove(qtTags);
}

void TvTestProgress::setTestName(const QString &name)
{
    // Only measured here: the window gives every row of a test case the
    // smallest size of them all, so the names line up in one size.
    nameFontSize = fittingPointSize(nameLabel->font(), name, nameLabel->size(),
                                    {12, 11, 10, 9, 8, 7, 6, 5}, 4);
    nameLabel->setText(name);
}

void TvTestProgress::setTestNameUnmeasured(const QString &name)
{
    nameLabel->setText(name);
}

void TvTestProgress::setTestNameFontSize(const int pointSize)
{
    nameFontSize = pointSize;
    QFont f = nameLabel->font();
    f.setPointSize(pointSize);
    nameLabel->setFont(f);
}

QPixmap TvTestProgress::resultPixmap() const
{
    return pictureLabel->pixmap(Qt::ReturnByValue);
}

void TvTestProgress::setResultPixmap(const QPixmap &picture)
{
    pictureLabel->setPixmap(picture);
}

void TvTestProgress::setProgress(const int value)
{
    progressBar->setValue(value);
}

int TvTestProgress::progress() const
{
    return progressBar->value();
}

void TvTestProgress::setTotalSteps(const int steps)
{
    progressBar->setRange(0, steps);
}

int TvTestProgress::totalSteps() const
{
    return progressBar->maximum();
}

void TvTestProgress::setTestCase(const int number)
{
    testCaseNumber = number;
}

bool TvTestProgress::isChecked() const
{
    return checkBox->isChecked();
}

void TvTestProgress::checkTest()
{
    emit testChecked(checkBox->isChecked());
}

void TvTestProgress::setChecked(bool checked)
{
    checkBox->setChecked(checked);
}

void TvTestProgress::setCheckEnabled(bool enabled)
{
    checkBox->setEnabled(enabled);
}
