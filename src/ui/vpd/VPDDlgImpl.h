#pragma once
#include "VitalProductDataDlg.h"

class QLabel;
class QTableWidget;

// The vital product data dialog as the VPD actions use it: its texts, its
// size limits, and a resize rule that keeps the help text and the table
// filling the dialog above the buttons.
class VPDDlgImpl : public VitalProductDataDlg
{
    Q_OBJECT
public:
    static constexpr int MinimumWidth = 320;
    static constexpr int MinimumHeight = 310;
    static constexpr int MaximumWidth = 640;
    static constexpr int MaximumHeight = 460;

    explicit VPDDlgImpl(QWidget *parent = nullptr);

    QTableWidget *table() const;
    QLabel *helpLabel() const;
    // Shows or hides the help text; the table takes its room.
    void setHelpShown(bool shown);

protected slots:
    void languageChange() override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeWidgets(const QSize &size);
};
