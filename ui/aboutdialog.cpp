#include "ui/aboutdialog.h"

#include "resources/strings.h"
#include "servers/serverstore.h"
#include "ui/appicons.h"
#include "ui/qtexts.h"
#include "ui/shell.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace tarvelo {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(text(strings::kAboutTitle));

    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    auto* version = new QLabel(text(strings::kAboutVersion), this);
    version->setObjectName(QStringLiteral("versionLabel"));
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);
    auto* servers = new QLabel(QStringLiteral("%1 %2").arg(text(strings::kAboutServerVersion),
                                                            QString::fromStdString(installedServerSetVersionText())),
                               this);
    servers->setObjectName(QStringLiteral("serverVersionLabel"));
    // The program's own page, shipped with it and shown in the help viewer.
    auto* contact = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>")
                                   .arg(QLatin1String(strings::kHomePage),
                                        tr("Tarvelo's home page")),
                               this);
    contact->setObjectName(QStringLiteral("contactLabel"));
    contact->setTextInteractionFlags(Qt::TextBrowserInteraction);
    contact->setOpenExternalLinks(false);
    connect(contact, &QLabel::linkActivated, this, [] { openHelpPage(strings::kHomePage); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(16);
    layout->addWidget(icon, 0, 0, 3, 1);
    layout->addWidget(version, 0, 1);
    layout->addWidget(servers, 1, 1);
    layout->addWidget(contact, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace tarvelo
