#include "aboutdlg.h"

#include "dialogunits.h"
#include "hyperlinkstatic.h"
#include "makebold.h"
#include "versiontext.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

QString CAboutDlg::WebAddress()
{
    return QStringLiteral("https://www.example.org/vantel");
}

CAboutDlg::CAboutDlg(QWidget *parent)
    : QDialog(parent)
    , m_link(new CHyperlinkStatic(this))
    , m_name(new QLabel(tr("Vantel"), this))
    , m_version(new QLabel(this))
{
    setWindowTitle(tr("About Vantel"));
    const QFontMetrics metrics(font());
    const CDialogUnits units(metrics.horizontalAdvance(CDialogUnits::SampleLetters()),
                             metrics.height());

    auto *icon = new QLabel(this);
    const QRect iconRect = units.ToPixels(14, 14, 20, 20);
    icon->setGeometry(iconRect);
    icon->setPixmap(QApplication::windowIcon().pixmap(iconRect.size()));

    // Names are shown as they are: "&" is no mnemonic here.
    m_name->setTextFormat(Qt::PlainText);
    m_name->setGeometry(units.ToPixels(42, 14, 114, 8));
    MakeBold(m_name);

    m_version->setText(tr("Version ") + VersionText());
    m_version->setGeometry(units.ToPixels(42, 24, 168, 8));
    MakeBold(m_version);

    auto *description = new QLabel(tr("A tool for creating and editing Vantel reports"), this);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description->setGeometry(units.ToPixels(42, 36, 168, 30));

    m_link->SetText(WebAddress());
    m_link->SetLink(WebAddress());
    m_link->setGeometry(units.ToPixels(42, 66, 156, 8));

    // The notice gets the description's width: at 114 units it would be cut.
    auto *notice = new QLabel(tr("Copyright (C) 2026 The Vantel developers"), this);
    notice->setGeometry(units.ToPixels(41, 75, 168, 8));

    auto *ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(units.ToPixels(156, 114, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(units.ToPixels(0, 0, 214, 131).size());
}
