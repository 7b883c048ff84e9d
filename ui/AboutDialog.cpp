#include "ui/AboutDialog.h"

#include "ui/QuarvelLogo.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace quarvel {

namespace {

constexpr int kDialogWidth = 260;
constexpr int kDialogHeight = 89;
constexpr int kRightMargin = 253;

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* control = new QLabel(text, parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent), m_layout(this, kDialogWidth, kDialogHeight)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About Quarvel..."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    createControls();
    m_layout.apply();
    // The button is the cancel button: it ends the box as Esc does.
    connect(m_ok, &QPushButton::clicked, this, &AboutDialog::reject);
}

void AboutDialog::createControls()
{
    m_logo = label(this, "logo", QString());
    m_logo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_logo->setAlignment(Qt::AlignCenter);
    m_logo->setPixmap(quarvelLogo(qApp->devicePixelRatio()));
    m_layout.place(m_logo, {7, 7, 83, 39});

    m_layout.placeText(label(this, "version", QStringLiteral("Quarvel v1.0")), {100, 13, 53, 8},
                       kRightMargin);
    m_layout.placeText(
        label(this, "notice1", QStringLiteral("Copyright \u00A9 2026 Brantwick Labs")),
        {100, 28, 144, 8}, kRightMargin);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_layout.place(m_ok, {205, 59, 32, 14});
    m_layout.placeText(label(this, "notice2", QStringLiteral("All rights reserved.")),
                       {100, 36, 69, 8}, kRightMargin);

    QLabel* address = label(this, "address",
                            QStringLiteral("https://www.brantwick.example\n"
                                           "quarvel@brantwick.example"));
    address->setAlignment(Qt::AlignCenter);
    address->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_layout.place(address, {21, 57, 168, 19});
}

void AboutDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        m_layout.apply();
    QDialog::changeEvent(event);
}

} // namespace quarvel
