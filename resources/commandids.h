#pragma once

// Command identifiers of menus, toolbar, accelerators and context menus. The program's
// own commands count from 32774, the standard ones of the document framework from 57600.

namespace tarvelo::commands {

// Document and application (standard).
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrintSetup = 57606;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kFileSendMail = 57612;
inline constexpr int kFileMru1 = 57616; // to kFileMru1 + 7
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;

// Items and the portfolio list.
inline constexpr int kItemProperties = 32774;
inline constexpr int kInsertItem = 32775;
inline constexpr int kUpdateQuotation = 32778;
inline constexpr int kShowQuotations = 32779;
inline constexpr int kDeleteItem = 32780;
inline constexpr int kUpdateAll = 32781;
inline constexpr int kRefresh = 32783;
inline constexpr int kConnectionStatus = 32785;
inline constexpr int kExport = 32793;
inline constexpr int kSaveViewOptions = 32794;
inline constexpr int kGraphicProperties = 32796;
inline constexpr int kAbortDownloads = 32797;
inline constexpr int kManualQuotation = 32803;
inline constexpr int kApplicationWebPage = 32808;
inline constexpr int kExportServers = 32809;
inline constexpr int kOptions = 32810;
inline constexpr int kCheckServerUpdate = 32811;
inline constexpr int kImportQuotations = 32814;
inline constexpr int kTotals = 32816;
inline constexpr int kCompareAll = 32819;
inline constexpr int kComparisonLimits = 32821;
inline constexpr int kOpenWebPage = 32824;
inline constexpr int kPercentValues = 32828;
inline constexpr int kTestUpdate = 32829;
inline constexpr int kFaq = 32830;
inline constexpr int kServerInfo = 32831;
inline constexpr int kServerConfigurations = 32840;
inline constexpr int kSourceHealth = 32851;
inline constexpr int kChartLegend = 32853; // beyond the original set

// Status bar indicators.
inline constexpr int kAmountPane = 119;
inline constexpr int kDownloadPane = 120;
inline constexpr int kClockPane = 109;

// Timers.
inline constexpr int kUpdateTimer = 116;
inline constexpr int kClockTimer = 4096;

} // namespace tarvelo::commands
