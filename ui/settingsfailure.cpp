#include "ui/settingsfailure.h"

#include "platform/profile.h"
#include "ui/prompter.h"

#include <QString>

namespace tarvelo {

bool reportUnsavedSettings(QWidget* parent)
{
    if (!Profile::takeWriteFailure())
        return false;
    Prompter::instance().inform(parent, QString::fromStdString(Profile::writeFailureMessage()),
                                Prompter::Icon::Warning);
    return true;
}

} // namespace tarvelo
