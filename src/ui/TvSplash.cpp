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
    placeOnPicture(QPixmap(CAdapterInfo::instance().basePathOf(CAdapterInfo::instance().splash_screen)));
    buildLabels();
    buildButton(aboutMode);
    show();
}

void TvSplash::placeOnPicture(const QPixmap &picture)
{
    const QRect desktop = QGuiApplication::primaryScreen()
                              ? QGuiApplication::primaryScreen()->geometry()
                              : QRect();
    setGeometry(desktop.width() / 2 - picture.width() / 2,
                desktop.height() / 2 - picture.height() / 2, picture.width(), picture.height());
    setFixedSize(picture.size());
    QPalette p = palette();
    p.setBrush(QPalette::Window, QBrush(picture));
    setPalette(p);
    setAutoFillBackground(true);
}

QLabel *TvSplash::makeLabel(const char *name, int top, int height, int pointSize, bool bold)
{
    auto *label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(0, top, width(), height);
    label->setAlignment(Qt::AlignCenter);
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
    const int lineHeight = static_cast<int>(height() * 0.2) / 5;
    const int top = static_cast<int>(height() * 0.81);
    nameLabel = makeLabel("nameLabel", top, lineHeight, 11, false);
    nameLabel->setText(CAdapterInfo::instance().name);
    versionLabel = makeLabel("versionLabel", top + lineHeight, lineHeight, 11, true);
    versionLabel->setText(TvText::translate(Context, "VERSION_OS %1 %2")
                              .arg(QString::asprintf("%d.%2.02d", TvProgram::VersionMajor,
                                                     TvProgram::VersionMinor),
                                   QStringLiteral("Linux")));
    copyrightLabel = makeLabel("copyrightLabel", top + 2 * lineHeight, lineHeight, 8, false);
    copyrightLabel->setText(TvText::translate(Context, "COPYRIGHT_NOTE"));
}

void TvSplash::buildButton(bool aboutMode)
{
    okButton = new QPushButton(TvText::translate(Context, "OK_TEXT"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    if (aboutMode) {
        okButton->setGeometry(width() / 2 - 50, height() - 24, 100, 25);
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
