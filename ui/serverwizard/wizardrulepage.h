#pragma once

#include "extraction/page.h"
#include "extraction/rulecandidates.h"
#include "ui/serverwizard/serverwizard.h"

#include <QDialog>

#include <array>
#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace tarvelo {

// The wizard's second page: the downloaded page in the chosen conversion, the quotation
// as the browser shows it, and the extraction rules proposed for it. Candidates are
// generated on a thread of their own, so the page repaints and its progress bar moves;
// leaving the page stops a generation under way and waits for it.
class WizardRulePage : public QDialog {
    Q_OBJECT
public:
    // The result when the user pressed "< Back".
    static constexpr int Back = 2;

    // Loads the three files; address is the page address as typed on the first page.
    WizardRulePage(const WizardSubject& subject, const WizardPageFiles& files, std::string address,
                   QWidget* parent = nullptr);
    ~WizardRulePage() override;

    // The subject's configuration with the selected candidate, its number format and the
    // address; only with a candidate selected.
    ServerConfig configuration() const;

    void done(int result) override;

private:
    struct ShownPage {
        SearchPage page;
        // The page in Windows-1252 when the file is in UTF-8, as the search reads it.
        std::optional<std::string> inCodePage;
        std::vector<std::size_t> crlfEnds; // offsets of the "\n" of every "\r\n" pair
    };

    void loadPage(Conversion conversion, const std::string& path, bool inUtf8 = false);
    std::string_view pageText(int conversion) const
    {
        const ShownPage& shown = m_pages[conversion];
        return shown.inCodePage ? std::string_view(*shown.inCodePage) : shown.page.text();
    }
    void showPage(int conversion);
    // Where an offset of the page text lies in the edit, which reads "\r\n" as one break.
    int displayPosition(std::size_t offset) const;
    // The format the list shows chosen; without a choice, the pair of " 9999,99".
    Separators chosenFormat() const;
    // Selects the pair in the format list, as an entry of its own when it is none of
    // the four formats.
    void showFormat(const Separators& format);
    // The user chose a format: the candidates that still read the quotation in it stay.
    void formatChosen();
    void showCandidates();
    void explain(const std::string& why);

    void generate();
    void stepProgress(int done);
    void generated(CandidateSearch search);
    void stopGeneration();
    void setGenerating(bool on);

    void candidateChosen();
    void updateNextButton();

    const WizardSubject& m_subject;
    std::string m_address;
    std::array<ShownPage, 3> m_pages;
    int m_shown = -1;

    QComboBox* m_conversion;
    QPlainTextEdit* m_pageText;
    QLineEdit* m_quotation;
    QPushButton* m_getButton;
    QComboBox* m_format;
    QProgressBar* m_progress;
    QListWidget* m_list;
    QLabel* m_explanation;
    QPushButton* m_backButton;
    QPushButton* m_nextButton;
    std::vector<RuleCandidate> m_candidates;

    std::thread m_generation;
    std::atomic<bool> m_cancel{false};
    bool m_generating = false;
    bool m_listCleared = false; // the running generation has emptied the list
    bool m_followingCandidate = false; // the format list is set to the candidate's format
};

} // namespace tarvelo
