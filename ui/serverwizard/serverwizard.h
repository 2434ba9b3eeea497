#pragma once

#include "model/serverconfig.h"

#include <QString>

#include <optional>
#include <string>

class QWidget;

namespace tarvelo {

class DownloadEngine;

// What the configuration wizard works on.
struct WizardSubject {
    std::string configName; // a stored configuration's name, or the "-- User defined --" text
    std::string itemName;   // for the variables and the template
    std::string itemSymbol;
    ServerConfig config; // the configuration as it stands: prefills the address and separators
};

// Runs the wizard's pages modally, one after the other, as long as the user goes back and forth.
// Returns the configuration to store when the user finished with "Next >" (a named configuration is
// then already written with writeServerConfig; for "-- User defined --" the caller stores it in the
// item), nothing on Cancel.
std::optional<ServerConfig> runServerWizard(QWidget* parent, DownloadEngine& engine, const WizardSubject& subject);

// The three temporary files of one wizard download: the page as downloaded (renamed to end
// in ".html" so a browser shows it), its semi-html and its text-only conversion.
struct WizardPageFiles {
    std::string raw;
    std::string semiHtml;
    std::string textOnly;
    // The page came in UTF-8: the raw file is as downloaded (for the browser), the two
    // conversions are in Windows-1252 already.
    bool rawInUtf8 = false;

    bool empty() const { return raw.empty() && semiHtml.empty() && textOnly.empty(); }
    // Deletes the files that exist and forgets their names.
    void remove();
};

// Both pages' title: the configuration's name, or the item's name for "-- User defined --".
QString serverWizardTitle(const WizardSubject& subject);

} // namespace tarvelo
