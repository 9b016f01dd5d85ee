#include "TvSplash.h"

#include "text/TvProgram.h"
#include "description/CAdapterInfo.h"
#include "text/TvText.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {
const char *const Context = "TvSplash";
}

TvSplash::TvSplash(bool aboutMode)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      timer(new QTimer(this))
{
    setObjectName(QStringLiteral("Test"));
    setModal(true);
    setWindowTitle(TvProgram::bannerText());
    placeOnPicture(QPixmap(CAdapterInfo::instance().basePathOf(CAdapterInfo::instance().splash_screen)),
                   aboutMode);
    buildLabels();
    buildButton(aboutMode);
    show();
}

void TvSplash::placeOnPicture(const QPixmap &picture, bool aboutMode)
{
    const QRect desktop = QGuiApplication::primaryScreen()
                              ? QGuiApplication::primaryScreen()->geometry()
                              : QRect();
    pictureHeight = picture.height();
    // The button's strip below the picture; none without a picture.
    const int strip = aboutMode && !picture.isNull() ? ButtonHeight + 2 * Margin : 0;
    const QSize size(picture.width(), picture.height() + strip);
    setGeometry(desktop.width() / 2 - size.width() / 2, desktop.height() / 2 - size.height() / 2,
                size.width(), size.height());
    setFixedSize(size);
    auto *shown = new QLabel(this);
    shown->setObjectName(QStringLiteral("pictureLabel"));
    shown->setPixmap(picture);
    shown->setGeometry(0, 0, picture.width(), picture.height());
}

QLabel *TvSplash::makeLabel(const char *name, int pointSize, bool bold)
{
    auto *label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    // No background of its own, so that the picture shows through.
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QFont f = label->font();
    f.setPointSize(pointSize);
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    label->setFont(f);
    return label;
}

void TvSplash::buildLabels()
{
    nameLabel = makeLabel("nameLabel", 11, false);
    nameLabel->setText(CAdapterInfo::instance().name);
    versionLabel = makeLabel("versionLabel", 11, true);
    versionLabel->setText(TvText::translate(Context, "VERSION_OS %1 %2")
                              .arg(QString::asprintf("%d.%2.02d", TvProgram::VersionMajor,
                                                     TvProgram::VersionMinor),
                                   QStringLiteral("Linux")));
    copyrightLabel = makeLabel("copyrightLabel", 8, false);
    copyrightLabel->setText(TvText::translate(Context, "COPYRIGHT_NOTE"));
    stackLabels();
}

void TvSplash::stackLabels()
{
    // Without a picture there is nothing for the lines to sit on.
    if (pictureHeight <= 0) {
        for (QLabel *label : {nameLabel, versionLabel, copyrightLabel})
            label->setGeometry(0, 0, width(), 0);
        return;
    }
    QList<int> heights;
    int total = 0;
    for (QLabel *label : {nameLabel, versionLabel, copyrightLabel}) {
        const int needed = qMax(label->fontMetrics().height(), label->heightForWidth(width()));
        heights.append(needed);
        total += needed;
    }
    total += 2 * LineSpacing;
    int top = qMin(static_cast<int>(pictureHeight * 0.81), pictureHeight - total);
    int i = 0;
    for (QLabel *label : {nameLabel, versionLabel, copyrightLabel}) {
        label->setGeometry(0, top, width(), heights.at(i));
        top += heights.at(i++) + LineSpacing;
    }
}

void TvSplash::buildButton(bool aboutMode)
{
    okButton = new QPushButton(TvText::translate(Context, "OK_TEXT"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    if (aboutMode) {
        okButton->setGeometry(width() / 2 - ButtonWidth / 2, pictureHeight + Margin, ButtonWidth,
                              ButtonHeight);
        connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
        return;
    }
    okButton->hide();
    connect(timer, &QTimer::timeout, this, &QDialog::accept);
    // Once: the splash object lives as long as the window, which would be
    // woken every few seconds for nothing.
    timer->setSingleShot(true);
    timer->start(SplashMilliseconds);
}
