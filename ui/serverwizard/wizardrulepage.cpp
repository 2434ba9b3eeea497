#include "ui/serverwizard/wizardrulepage.h"

#include "extraction/numberformat.h"
#include "extraction/pagecharset.h"
#include "platform/codepage.h"
#include "platform/inputfile.h"
#include "resources/strings.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/shell.h"
#include "ui/serverwizard/wizardtexts.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace tarvelo {

WizardRulePage::WizardRulePage(const WizardSubject& subject, const WizardPageFiles& files, std::string address,
                               QWidget* parent)
    : QDialog(parent), m_subject(subject), m_address(std::move(address))
{
    setObjectName(QStringLiteral("wizardRulePage"));
    setWindowTitle(serverWizardTitle(subject));

    auto* conversionLabel = new QLabel(text(wizardtexts::kConversionLabel), this);
    m_conversion = new QComboBox(this);
    m_conversion->setObjectName(QStringLiteral("conversionCombo"));
    m_conversion->addItems({text(wizardtexts::kConversionNone), text(wizardtexts::kConversionSemiHtml),
                            text(wizardtexts::kConversionTextOnly)});
    conversionLabel->setBuddy(m_conversion);
    auto* conversionNote = new QLabel(text(wizardtexts::kConversionNote), this);

    m_pageText = new QPlainTextEdit(this);
    m_pageText->setObjectName(QStringLiteral("pageText"));
    m_pageText->setReadOnly(true);
    m_pageText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // The highlighted span stays visible while the list has the focus.
    QPalette palette = m_pageText->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    m_pageText->setPalette(palette);

    auto* quotationLabel = new QLabel(text(wizardtexts::kQuotationLabel), this);
    m_quotation = new QLineEdit(this);
    m_quotation->setObjectName(QStringLiteral("quotationEdit"));
    quotationLabel->setBuddy(m_quotation);
    m_getButton = new QPushButton(text(wizardtexts::kGetConfiguration), this);
    m_getButton->setObjectName(QStringLiteral("getConfigurationButton"));

    auto* formatLabel = new QLabel(text(wizardtexts::kFormatLabel), this);
    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("formatCombo"));
    for (const NumberFormat& format : numberFormats())
        m_format->addItem(QString::fromLatin1(format.shown),
                          QStringList{QString::fromLatin1(format.thousands), QString::fromLatin1(format.decimal)});
    formatLabel->setBuddy(m_format);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("generationProgress"));
    m_progress->setTextVisible(false);
    m_progress->hide();

    auto* listLabel = new QLabel(text(wizardtexts::kCandidatesLabel), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("candidateList"));
    listLabel->setBuddy(m_list);
    // Why no rule was found, and what to try; its expression can be copied.
    m_explanation = new QLabel(this);
    m_explanation->setObjectName(QStringLiteral("explanationText"));
    m_explanation->setWordWrap(true);
    m_explanation->setTextFormat(Qt::PlainText);
    m_explanation->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_explanation->hide();

    m_backButton = new QPushButton(text(wizardtexts::kBack), this);
    m_backButton->setObjectName(QStringLiteral("backButton"));
    m_nextButton = new QPushButton(text(wizardtexts::kNext), this);
    m_nextButton->setObjectName(QStringLiteral("nextButton"));
    auto* cancelButton = new QPushButton(text(wizardtexts::kCancel), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto* helpButton = new QPushButton(QStringLiteral("Help"), this);
    helpButton->setObjectName(QStringLiteral("helpButton"));
    helpButton->setAutoDefault(false);
    connect(helpButton, &QPushButton::clicked, this, [] { openHelpPage(strings::kDialogHelpPage, "wizard-rule"); });
    for (QPushButton* button : {m_backButton, m_nextButton, cancelButton})
        button->setAutoDefault(false);
    m_getButton->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    auto* conversionRow = new QHBoxLayout;
    conversionRow->addWidget(conversionLabel);
    conversionRow->addWidget(m_conversion);
    conversionRow->addWidget(conversionNote);
    conversionRow->addStretch();
    layout->addLayout(conversionRow);
    layout->addWidget(m_pageText, 3);
    auto* inputs = new QGridLayout;
    inputs->addWidget(quotationLabel, 0, 0);
    inputs->addWidget(m_quotation, 0, 1);
    inputs->addWidget(m_getButton, 0, 2);
    inputs->addWidget(formatLabel, 1, 0);
    inputs->addWidget(m_format, 1, 1);
    inputs->setColumnStretch(1, 1);
    layout->addLayout(inputs);
    layout->addWidget(m_progress);
    layout->addWidget(listLabel);
    layout->addWidget(m_list, 2);
    layout->addWidget(m_explanation);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_backButton);
    buttons->addWidget(m_nextButton);
    buttons->addSpacing(12);
    buttons->addWidget(cancelButton);
    buttons->addWidget(helpButton);
    layout->addLayout(buttons);
    resize(760, 620);

    loadPage(Conversion::None, files.raw, files.rawInUtf8);
    loadPage(Conversion::SemiHtml, files.semiHtml);
    loadPage(Conversion::TextOnly, files.textOnly);
    m_conversion->setCurrentIndex(storedNumber(Conversion::SemiHtml));
    showFormat({subject.config.thousandsSeparator, subject.config.decimalSeparator});
    showPage(storedNumber(Conversion::SemiHtml));
    updateNextButton();

    connect(m_conversion, &QComboBox::currentIndexChanged, this, &WizardRulePage::showPage);
    connect(m_format, &QComboBox::currentIndexChanged, this, &WizardRulePage::formatChosen);
    connect(m_getButton, &QPushButton::clicked, this, &WizardRulePage::generate);
    connect(m_list, &QListWidget::currentRowChanged, this, &WizardRulePage::candidateChosen);
    connect(m_list, &QListWidget::itemClicked, this, &WizardRulePage::candidateChosen);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &WizardRulePage::candidateChosen);
    connect(m_backButton, &QPushButton::clicked, this, [this] { done(Back); });
    connect(m_nextButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    m_quotation->setFocus();
}

WizardRulePage::~WizardRulePage()
{
    stopGeneration();
}

void WizardRulePage::loadPage(Conversion conversion, const std::string& path, bool inUtf8)
{
    const int index = storedNumber(conversion);
    ShownPage& shown = m_pages[index];
    if (!shown.page.load(path)) {
        // A file that opens but cannot be loaded did not fit into memory.
        InputFile file;
        const bool readable = !path.empty() && file.open(path) == FileError::None;
        Prompter::instance().inform(
            this, fileMessage(fromPath(path), text(readable ? wizardtexts::kNoBuffer : wizardtexts::kCannotRead)),
            Prompter::Icon::Warning);
        return;
    }
    if (inUtf8)
        shown.inCodePage = utf8PageToCp1252(shown.page.text());
    const std::string_view page = pageText(index);
    for (std::size_t at = page.find("\r\n"); at != std::string_view::npos; at = page.find("\r\n", at + 2))
        shown.crlfEnds.push_back(at + 1);
}

void WizardRulePage::showPage(int conversion)
{
    if (conversion < 0 || conversion > 2 || conversion == m_shown)
        return;
    m_shown = conversion;
    QString shown = fromPageText(pageText(conversion));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_pageText->setPlainText(shown);
    m_list->clear();
    m_candidates.clear();
    explain({});
    updateNextButton();
}

int WizardRulePage::displayPosition(std::size_t offset) const
{
    const auto& ends = m_pages[m_shown].crlfEnds;
    // Every pair that ends before the offset shows as one character.
    const auto joined = std::lower_bound(ends.begin(), ends.end(), offset) - ends.begin();
    return static_cast<int>(offset - static_cast<std::size_t>(joined));
}

Separators WizardRulePage::chosenFormat() const
{
    // Without a chosen format the pair without thousands separator and decimal comma applies.
    const int index = m_format->currentIndex();
    const QStringList pair = m_format->itemData(index >= 0 ? index : 1).toStringList();
    return {toCore(pair.value(0)), toCore(pair.value(1))};
}

void WizardRulePage::showFormat(const Separators& format)
{
    const QStringList pair{fromCore(format.thousands), fromCore(format.decimal)};
    int index = m_format->findData(pair);
    if (index < 0) {
        // A pair the four formats do not hold (a blank between thousands) has an entry of
        // its own, the last one.
        const QString shown = fromPageText(formatShown({utf8ToCp1252(format.thousands), utf8ToCp1252(format.decimal)}));
        if (m_format->count() > static_cast<int>(numberFormats().size())) {
            m_format->setItemText(m_format->count() - 1, shown);
            m_format->setItemData(m_format->count() - 1, pair);
        } else {
            m_format->addItem(shown, pair);
        }
        index = m_format->count() - 1;
    }
    m_format->setCurrentIndex(index);
}

void WizardRulePage::formatChosen()
{
    if (m_followingCandidate || m_generating || m_candidates.empty())
        return;
    // The candidates are checked again with the format the user chose: rules that read
    // the quotation in it too stay, with that format.
    const std::string quotation = m_candidates.front().quotation;
    m_candidates = candidatesInFormat(pageText(m_shown), std::move(m_candidates), chosenFormat(), m_subject.itemName,
                                      m_subject.itemSymbol, m_pages[storedNumber(Conversion::None)].page.text());
    showCandidates();
    if (m_candidates.empty())
        explain(formatRefusal(quotation, chosenFormat()));
}

void WizardRulePage::showCandidates()
{
    const int row = m_list->currentRow();
    m_list->clear();
    for (const RuleCandidate& candidate : m_candidates)
        new QListWidgetItem(fromCore(describeCandidate(candidate)), m_list);
    if (!m_candidates.empty())
        m_list->setCurrentRow(std::clamp(row, 0, static_cast<int>(m_candidates.size()) - 1));
    updateNextButton();
}

void WizardRulePage::explain(const std::string& why)
{
    m_explanation->setText(fromCore(why));
    m_explanation->setVisible(!why.empty());
}

void WizardRulePage::generate()
{
    if (m_generating)
        return;
    CandidateRequest request;
    request.page = pageText(m_shown);
    request.rawPage = pageText(storedNumber(Conversion::None));
    request.downloaded = m_pages[storedNumber(Conversion::None)].page.text();
    request.conversion = Conversion{m_shown};
    request.quotation = toCore(m_quotation->text());
    request.preferred = chosenFormat();
    request.itemName = m_subject.itemName;
    request.itemSymbol = m_subject.itemSymbol;
    m_cancel.store(false);
    m_listCleared = false;
    m_progress->setRange(0, candidateAttempts(request.conversion));
    m_progress->setValue(0);
    explain({});
    setGenerating(true);
    m_generation = std::thread([this, request = std::move(request)] {
        auto search = std::make_shared<CandidateSearch>(generateCandidates(request, [this](int done) {
            if (m_cancel.load())
                return false;
            QMetaObject::invokeMethod(this, [this, done] { stepProgress(done); }, Qt::QueuedConnection);
            return true;
        }));
        QMetaObject::invokeMethod(this, [this, search] { generated(std::move(*search)); }, Qt::QueuedConnection);
    });
}

void WizardRulePage::stepProgress(int done)
{
    if (!m_generating)
        return;
    // The typed value was found in the page: the earlier proposals go and the bar shows.
    if (!m_listCleared) {
        m_listCleared = true;
        m_list->clear();
        m_candidates.clear();
        m_progress->show();
    }
    m_progress->setValue(done);
}

void WizardRulePage::generated(CandidateSearch search)
{
    if (!m_generating)
        return;
    if (m_generation.joinable())
        m_generation.join();
    setGenerating(false);
    const CandidateExplanation& why = search.explanation;
    const std::string explanation = why.why.empty() ? std::string() : why.why + " " + why.advice;
    switch (search.outcome) {
    case CandidateOutcome::Done:
        m_candidates = std::move(search.candidates);
        showCandidates();
        explain(m_candidates.empty() ? explanation : std::string());
        break;
    case CandidateOutcome::Cancelled:
        break;
    default:
        explain(explanation);
        Prompter::instance().inform(this, fromCore(search.message), Prompter::Icon::Warning);
        break;
    }
    updateNextButton();
}

void WizardRulePage::stopGeneration()
{
    if (!m_generation.joinable())
        return;
    m_cancel.store(true);
    m_generation.join();
    if (m_generating)
        setGenerating(false);
}

void WizardRulePage::setGenerating(bool on)
{
    m_generating = on;
    for (QWidget* input : std::initializer_list<QWidget*>{m_conversion, m_quotation, m_getButton, m_format, m_list})
        input->setEnabled(!on);
    if (on) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        m_progress->hide();
        QApplication::restoreOverrideCursor();
    }
    updateNextButton();
}

void WizardRulePage::candidateChosen()
{
    const int row = m_list->currentRow();
    if (row >= 0 && static_cast<std::size_t>(row) < m_candidates.size()) {
        const RuleCandidate& candidate = m_candidates[static_cast<std::size_t>(row)];
        // The cursor ends at the span's start, so scrolling shows where it begins.
        QTextCursor cursor(m_pageText->document());
        cursor.setPosition(displayPosition(candidate.start + candidate.length));
        cursor.setPosition(displayPosition(candidate.start), QTextCursor::KeepAnchor);
        m_pageText->setTextCursor(cursor);
        m_pageText->ensureCursorVisible();
        // The format list shows the format the rule reads with.
        m_followingCandidate = true;
        showFormat(candidate.format);
        m_followingCandidate = false;
    }
    updateNextButton();
}

void WizardRulePage::updateNextButton()
{
    m_nextButton->setEnabled(!m_generating && m_list->currentRow() >= 0
                             && static_cast<std::size_t>(m_list->currentRow()) < m_candidates.size());
}

ServerConfig WizardRulePage::configuration() const
{
    const RuleCandidate& candidate = m_candidates.at(static_cast<std::size_t>(m_list->currentRow()));
    return withCandidate(m_subject.config, candidate, m_address, m_subject.itemName, m_subject.itemSymbol);
}

void WizardRulePage::done(int result)
{
    stopGeneration();
    QDialog::done(result);
}

} // namespace tarvelo
