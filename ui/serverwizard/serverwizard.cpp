#include "ui/serverwizard/serverwizard.h"

#include "platform/files.h"
#include "resources/strings.h"
#include "servers/serverstore.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/serverwizard/wizarddownloadpage.h"
#include "ui/serverwizard/wizardrulepage.h"
#include "ui/serverwizard/wizardtexts.h"
#include "ui/settingsfailure.h"

#include <vector>

namespace tarvelo {

namespace {

bool isUserDefined(const WizardSubject& subject)
{
    return subject.configName == strings::kUserDefinedServer;
}

} // namespace

void WizardPageFiles::remove()
{
    for (std::string* path : {&raw, &semiHtml, &textOnly}) {
        removeFileIfPresent(*path);
        path->clear();
    }
}

QString serverWizardTitle(const WizardSubject& subject)
{
    return wizardtexts::wizardText(wizardtexts::kTitle).arg(fromCore(isUserDefined(subject) ? subject.itemName : subject.configName));
}

std::optional<ServerConfig> runServerWizard(QWidget* parent, DownloadEngine& engine, const WizardSubject& subject)
{
    // The pages the user went back from: the browser may still show them, so they are
    // deleted only when the wizard ends.
    std::vector<WizardPageFiles> leftBehind;
    std::optional<ServerConfig> result;
    for (;;) {
        WizardDownloadPage downloadPage(engine, subject, parent);
        if (Prompter::instance().exec(downloadPage) != QDialog::Accepted)
            break; // the page deletes its files
        WizardPageFiles files = downloadPage.takeFiles();
        WizardRulePage rulePage(subject, files, downloadPage.address(), parent);
        const int ended = Prompter::instance().exec(rulePage);
        if (ended == WizardRulePage::Back) {
            leftBehind.push_back(std::move(files));
            continue;
        }
        if (ended == QDialog::Accepted) {
            result = rulePage.configuration();
            if (!isUserDefined(subject)) {
                if (!serverConfigExists(subject.configName))
                    result->maxChange = kNewConfigMaxChange; // a configuration the wizard makes
                writeServerConfig(subject.configName, *result);
                reportUnsavedSettings(parent);
            }
        }
        files.remove();
        break;
    }
    for (WizardPageFiles& files : leftBehind)
        files.remove();
    return result;
}

} // namespace tarvelo
