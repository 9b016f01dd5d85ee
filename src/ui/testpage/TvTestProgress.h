#pragma once
#include <QPixmap>
#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QProgressBar;

// One sub-test row of the test tab: check box, name, progress bar, result
// text and result picture.
class TvTestProgress : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString ResultText READ resultText WRITE setResultText)
    Q_PROPERTY(QPixmap ResultPixmap READ resultPixmap WRITE setResultPixmap)
    Q_PROPERTY(QString TestName READ testName WRITE setTestName)
    Q_PROPERTY(int TestCase READ testCase WRITE setTestCase)
    Q_PROPERTY(int TotalSteps READ totalSteps WRITE setTotalSteps)
    Q_PROPERTY(bool checked READ isChecked)
    Q_PROPERTY(int testNameFontSize READ testNameFontSize WRITE setTestNameFontSize)

public:
    explicit TvTestProgress(QWidget *parent = nullptr, const QString &name = QString());

    static constexpr int ProgressMinimumWidth = 80;

    QSize sizeHint() const override { return QSize(405, 30); }

    // The whole result text; the row shows it whole, or cut with the whole
    // as its tooltip when no size fits (resultElided).
    QString resultText() const;
    bool resultElided() const;
    QPixmap resultPixmap() const;
    QString testName() const;
    int testCase() const { return testCaseNumber; }
    int totalSteps() const;
    int progress() const;
    bool isChecked() const;
    int testNameFontSize() const { return nameFontSize; }

    void setCheckEnabled(bool enabled);

    // The largest of `sizes` (tried in order) at which the text, word-wrapped,
    // fits into a box of the given size; `fallback` when none does.
    static int fittingPointSize(const QFont &font, const QString &text, const QSize &box,
                                const QList<int> &sizes, int fallback);

public slots:
    void setResultText(const QString &text);
    void setTestName(const QString &name);
    void setResultPixmap(const QPixmap &picture);
    void setProgress(const int value);
    void setTotalSteps(const int steps);
    void setTestCase(const int number);
    void checkTest();
    void setChecked(bool checked);
    void setTestNameFontSize(const int pointSize);
    // The name alone, not measured: the test page fits the names of the
    // rows it shows once they are laid out on screen (each size measured
    // loads a font).
    void setTestNameUnmeasured(const QString &name);

signals:
    void testChecked(bool checked);
    // The result text, shown cut short; once for each text.
    void resultCut(const QString &plainText);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void fitResult();

    QCheckBox *checkBox;
    QLabel *nameLabel;
    QProgressBar *progressBar;
    QLabel *resultLabel;
    QLabel *pictureLabel;
    QString fullResult;
    bool cutReported = false;
    int testCaseNumber = -1;
    int nameFontSize = 12;
};
