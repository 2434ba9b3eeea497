#pragma once

class QWidget;

namespace tarvelo {

// Tells the user, through the prompter, that settings could not be saved when a settings
// write of this program failed since the last call (see Profile::takeWriteFailure());
// returns whether it did. Windows call it after their own settings writes.
bool reportUnsavedSettings(QWidget* parent);

} // namespace tarvelo
