#include "ui/serversettingsdialog.h"

#include "extraction/numberformat.h"
#include "extraction/regexp.h"
#include "extraction/urltemplate.h"
#include "model/requestheaders.h"
#include "resources/strings.h"
#include "servers/serverstore.h"
#include "transfer/import.h"
#include "platform/codepage.h"
#include "ui/numberfield.h"
#include "ui/prompter.h"
#include "ui/qtexts.h"
#include "ui/settingsfailure.h"
#include "ui/shell.h"

#include <QCoreApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <type_traits>

namespace tarvelo {

namespace {

constexpr int kArrowedTimeoutHigh = 300; // the arrows stop here; OK takes up to the field's limit

// The stored value a member is, for its limits.
template <typename Member>
const ServerConfigField& fieldOf(Member member)
{
    const auto fields = serverConfigFields();
    return *std::find_if(fields.begin(), fields.end(), [member](const ServerConfigField& field) {
        if constexpr (std::is_same_v<Member, std::string ServerConfig::*>)
            return field.text == member;
        else
            return field.number == ServerConfigField::NumberMember(member);
    });
}

QLineEdit* makeTextEdit(const std::string& value, std::string ServerConfig::*member, const char* name,
                        QWidget* parent)
{
    auto* edit = new QLineEdit(fromCore(value), parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(fieldOf(member).high);
    return edit;
}

QCheckBox* makeCheck(const QString& text, bool checked, const char* name, QWidget* parent)
{
    auto* check = new QCheckBox(text, parent);
    check->setObjectName(QLatin1String(name));
    check->setChecked(checked);
    return check;
}

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QString advancedText(bool open)
{
    return open ? QCoreApplication::translate("tarvelo::ServerSettingsDialog", "Advanced <<") : QCoreApplication::translate("tarvelo::ServerSettingsDialog", "Advanced >>");
}

} // namespace

// The save-as dialog ----------------------------------------------------------------------

SaveConfigurationDialog::SaveConfigurationDialog(std::vector<std::string> names, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("saveConfigurationDialog"));
    setWindowTitle(tr("Server configuration"));

    m_names = new QComboBox(this);
    m_names->setObjectName(QStringLiteral("saveAsCombo"));
    m_names->setEditable(true);
    m_names->setInsertPolicy(QComboBox::NoInsert);
    m_names->setMinimumContentsLength(30);
    m_names->addItems(sortedNames(names));
    m_names->lineEdit()->setMaxLength(static_cast<int>(kMaxServerName));
    if (m_names->count() > 0) {
        m_names->setCurrentIndex(0);
        m_names->lineEdit()->selectAll();
    }
    auto* label = new QLabel(tr("Save as:"), this);
    label->setBuddy(m_names);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_names);
    layout->addWidget(buttons);
}

std::string SaveConfigurationDialog::name() const
{
    return toCore(m_names->currentText());
}

// The settings dialog ---------------------------------------------------------------------

ServerSettingsDialog::ServerSettingsDialog(const ServerConfig& config, std::string configName, std::string itemName,
                                           std::string itemSymbol, QWidget* parent)
    : QDialog(parent), m_config(config), m_configName(std::move(configName)), m_itemName(std::move(itemName)),
      m_itemSymbol(std::move(itemSymbol)), m_clock(currentTime)
{
    setObjectName(QStringLiteral("serverSettingsDialog"));
    updateTitle();

    // The page and how long to wait for it.
    auto* urlButton = makeButton(tr("Download URL:"), "downloadUrlButton", this);
    m_url = makeTextEdit(config.url, &ServerConfig::url, "urlEdit", this);
    m_url->setToolTip(tr("URL address, e.g. http://quotes.example/quote.html?id=[&symbol]"
                                     " or file://c:\\temp\\quotes.html"));
    m_url->setMinimumWidth(m_url->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60);
    NumberField* timeout = makeNumberField("timeout", &ServerConfig::timeout, this);
    timeout->setArrowRange(0, kArrowedTimeoutHigh);
    timeout->edit()->setToolTip(tr("Web page download timeout"));
    auto* timeoutLabel = new QLabel(tr("Timeout:"), this);
    timeoutLabel->setBuddy(timeout->edit());

    // What is done with a value that looks wrong, and where else to look for it.
    m_maxChange = makeNumberField("maxChange", &ServerConfig::maxChange, this);
    m_maxChange->setArrowRange(0, 1000);
    m_maxChange->edit()->setToolTip(tr("A downloaded value that moves more than this from the item's "
                                                   "latest value is held back (0: no limit)"));
    auto* maxChangeLabel = new QLabel(tr("Hold back values that move more than"), this);
    maxChangeLabel->setBuddy(m_maxChange->edit());
    m_maxChangeControls = {maxChangeLabel, m_maxChange};
    m_fallback = new QComboBox(this);
    m_fallback->setObjectName(QStringLiteral("fallbackCombo"));
    m_fallback->setToolTip(tr("The configuration tried for an item when this one finds no plausible "
                                          "value"));
    fillFallbacks(config.fallback);
    auto* fallbackLabel = new QLabel(tr("Fallback:"), this);
    fallbackLabel->setBuddy(m_fallback);
    m_fallbackControls = {fallbackLabel, m_fallback};
    // Headers of the configuration's own; their values may be keys, so they are not
    // shown anywhere else.
    m_headers = new QPlainTextEdit(this);
    m_headers->setObjectName(QStringLiteral("headersEdit"));
    m_headers->setTabChangesFocus(true);
    m_headers->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_headers->setPlainText(fromCore(requestHeaderLines(config.headers)));
    m_headers->setFixedHeight(m_headers->fontMetrics().lineSpacing() * 3 + 12);
    m_headers->setToolTip(tr("Up to 8 request headers, one \"Name: value\" a line, e.g. "
                                         "\"Accept: application/json\"; they replace the program's own of the same "
                                         "name"));
    auto* headersLabel = new QLabel(tr("Request headers:"), this);
    headersLabel->setBuddy(m_headers);
    m_headersControls = {headersLabel, m_headers};

    // The extraction rules of a standard search.
    auto* rules = new QGroupBox(tr("Quotation extraction rules"), this);
    rules->setObjectName(QStringLiteral("extractionRulesGroup"));
    m_conversion = new QButtonGroup(this);
    auto* none = new QRadioButton(tr("None"), rules);
    none->setObjectName(QStringLiteral("noConversionRadio"));
    m_semiHtml = new QRadioButton(
        tr("Convert to semi-html (remove html tag contents, i.e. leave html tags empty \"<>\")"), rules);
    m_semiHtml->setObjectName(QStringLiteral("semiHtmlRadio"));
    auto* textOnly = new QRadioButton(tr("Convert to text-only (remove html tags completely)"), rules);
    textOnly->setObjectName(QStringLiteral("textOnlyRadio"));
    m_conversion->addButton(none, storedNumber(Conversion::None));
    m_conversion->addButton(m_semiHtml, storedNumber(Conversion::SemiHtml));
    m_conversion->addButton(textOnly, storedNumber(Conversion::TextOnly));
    if (QAbstractButton* chosen = m_conversion->button(storedNumber(config.conversion)))
        chosen->setChecked(true);

    auto* formatLabel = new QLabel(tr("Thousands/decimal separator format:"), rules);
    m_format = new QComboBox(rules);
    m_format->setObjectName(QStringLiteral("numberFormatCombo"));
    for (const NumberFormat& format : numberFormats())
        m_format->addItem(QString::fromLatin1(format.shown));
    for (int i = 0; i < m_format->count(); ++i) {
        const NumberFormat& format = numberFormats()[static_cast<std::size_t>(i)];
        m_format->setItemData(i, QStringList{fromCore(format.thousands), fromCore(format.decimal)});
    }
    int formatIndex = numberFormatIndex(config.thousandsSeparator, config.decimalSeparator);
    if (formatIndex < 0 && !config.decimalSeparator.empty()) {
        // A pair the four formats do not hold (a blank between thousands, as the wizard
        // stores it) gets an entry of its own, so that OK keeps it.
        m_format->addItem(fromPageText(formatShown({utf8ToCp1252(config.thousandsSeparator),
                                                    utf8ToCp1252(config.decimalSeparator)})),
                          QStringList{fromCore(config.thousandsSeparator), fromCore(config.decimalSeparator)});
        formatIndex = m_format->count() - 1;
    }
    m_format->setCurrentIndex(formatIndex);
    formatLabel->setBuddy(m_format);

    m_caseInsensitive = makeCheck(tr("Case insensitive search (don't differentiate small and capital letters)"),
                                  config.caseInsensitive.isSet(), "caseInsensitiveCheck", rules);

    auto* textGroup = new QGroupBox(tr("Start searching for quotation after the following text:"), rules);
    textGroup->setObjectName(QStringLiteral("textBeforeValueGroup"));
    m_textBefore =
        makeTextEdit(config.textBeforeValue, &ServerConfig::textBeforeValue, "textBeforeValueEdit", textGroup);
    auto* skipLabel = new QLabel(tr("Skip"), textGroup);
    m_tags = makeNumberField("tagsToSkip", &ServerConfig::tagsToSkip, textGroup);
    m_numbersToSkip = makeNumberField("numbersToSkip", &ServerConfig::numbersToSkip, textGroup);
    skipLabel->setBuddy(m_tags->edit());
    m_advancedButton = makeButton(QString(), "advancedButton", rules);

    // The regular-expression area, shown while the advanced part is open.
    m_regExpSlot = new QWidget(rules);
    m_regExpSlot->setObjectName(QStringLiteral("regExpSlot"));
    m_regExpArea = new QWidget(m_regExpSlot);
    m_regExpArea->setObjectName(QStringLiteral("regExpArea"));
    m_standardSearch = new QRadioButton(tr("Standard Search"), m_regExpArea);
    m_standardSearch->setObjectName(QStringLiteral("standardSearchRadio"));
    m_advancedSearch = new QRadioButton(tr("Advanced Search"), m_regExpArea);
    m_advancedSearch->setObjectName(QStringLiteral("advancedSearchRadio"));
    m_jsonSearch = new QRadioButton(tr("JSON path"), m_regExpArea);
    m_jsonSearch->setObjectName(QStringLiteral("jsonSearchRadio"));
    m_jsonSearch->setToolTip(tr("Reads the value from JSON data, the page itself or a script in it, "
                                            "by a path such as $.quote.last or $.rates.[&symbol]"));
    (config.searchKind == SearchKind::RegularExpression ? m_advancedSearch
     : config.searchKind == SearchKind::JsonPath        ? m_jsonSearch
                                                         : m_standardSearch)
        ->setChecked(true);
    auto* jsonGroup = new QGroupBox(tr("JSON paths (extended by QVX variables)"), m_regExpArea);
    jsonGroup->setObjectName(QStringLiteral("jsonGroup"));
    m_jsonValue = makeTextEdit(config.jsonValue, &ServerConfig::jsonValue, "jsonValueEdit", jsonGroup);
    m_jsonDate = makeTextEdit(config.jsonDate, &ServerConfig::jsonDate, "jsonDateEdit", jsonGroup);
    m_jsonTime = makeTextEdit(config.jsonTime, &ServerConfig::jsonTime, "jsonTimeEdit", jsonGroup);
    auto* jsonLayout = new QGridLayout(jsonGroup);
    jsonLayout->setContentsMargins(6, 4, 6, 4);
    int jsonRow = 0;
    for (auto [label, edit] : {std::pair{tr("Value:"), m_jsonValue}, {tr("Date (optional):"), m_jsonDate},
                               {tr("Time (optional):"), m_jsonTime}}) {
        auto* text = new QLabel(label, jsonGroup);
        text->setBuddy(edit);
        jsonLayout->addWidget(text, jsonRow, 0);
        jsonLayout->addWidget(edit, jsonRow++, 1);
    }
    m_jsonControls = {jsonGroup};
    auto* regExpGroup =
        new QGroupBox(tr("Perl regular expression (extended by QVX variables)"), m_regExpArea);
    regExpGroup->setObjectName(QStringLiteral("regExpGroup"));
    m_regExp = makeTextEdit(config.regExp, &ServerConfig::regExp, "regExpEdit", regExpGroup);
    auto* quotationLabel = new QLabel(tr("Quotation match parentesis index:"), m_regExpArea);
    m_quotationIndex = makeNumberField("quotationIndex", &ServerConfig::quotationIndex, m_regExpArea);
    quotationLabel->setBuddy(m_quotationIndex->edit());
    m_extractDate = makeCheck(tr("Extract quotation date"), config.extractDate.isSet(), "extractDateCheck", m_regExpArea);
    m_extractTime = makeCheck(tr("Extract quotation time"), config.extractTime.isSet(), "extractTimeCheck", m_regExpArea);
    const auto indexField = [this](const QString& label, const char* name, std::int32_t ServerConfig::*member,
                                   QHBoxLayout* row, std::vector<QWidget*>& group) {
        auto* text = new QLabel(label, m_regExpArea);
        auto* field = new NumberField(QLatin1String(name), m_config.*member, fieldOf(member).low,
                                      fieldOf(member).high, m_regExpArea, NumberField::Arrows::None);
        text->setBuddy(field->edit());
        m_numbers.push_back({field, member});
        row->addWidget(text);
        row->addWidget(field);
        group.insert(group.end(), {text, field});
    };
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(m_extractDate);
    dateRow->addStretch();
    indexField(tr("Day match index:"), "dayIndex", &ServerConfig::dayIndex, dateRow, m_dateControls);
    indexField(tr("Month match index:"), "monthIndex", &ServerConfig::monthIndex, dateRow, m_dateControls);
    indexField(tr("Year match index:"), "yearIndex", &ServerConfig::yearIndex, dateRow, m_dateControls);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(m_extractTime);
    timeRow->addStretch();
    indexField(tr("Hour match index:"), "hourIndex", &ServerConfig::hourIndex, timeRow, m_timeControls);
    indexField(tr("Minute match index:"), "minuteIndex", &ServerConfig::minuteIndex, timeRow, m_timeControls);
    m_regExpControls = {regExpGroup, quotationLabel, m_quotationIndex, m_extractDate, m_extractTime};

    // The buttons.
    m_testButton = makeButton(tr("&Test quotation update"), "testButton", this);
    m_testButton->setEnabled(false);
    auto* saveAsButton = makeButton(tr("Save configuration &As..."), "saveAsButton", this);
    auto* helpButton = makeButton(tr("Help"), "helpButton", this);
    auto* okButton = makeButton(tr("OK"), "okButton", this);
    okButton->setDefault(true);
    auto* cancelButton = makeButton(tr("Cancel"), "cancelButton", this);

    // Layout.
    auto* urlRow = new QHBoxLayout;
    urlRow->addWidget(urlButton);
    urlRow->addWidget(m_url, 1);
    auto* timeoutRow = new QHBoxLayout;
    timeoutRow->addWidget(timeoutLabel);
    timeoutRow->addWidget(timeout);
    timeoutRow->addWidget(new QLabel(tr("seconds"), this));
    timeoutRow->addStretch();
    auto* checksRow = new QHBoxLayout;
    auto* percent = new QLabel(QStringLiteral("%"), this);
    m_maxChangeControls.push_back(percent);
    checksRow->addWidget(maxChangeLabel);
    checksRow->addWidget(m_maxChange);
    checksRow->addWidget(percent);
    checksRow->addSpacing(12);
    checksRow->addWidget(fallbackLabel);
    checksRow->addWidget(m_fallback, 1);
    auto* headersRow = new QHBoxLayout;
    headersRow->addWidget(headersLabel, 0, Qt::AlignTop);
    headersRow->addWidget(m_headers, 1);

    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(formatLabel);
    formatRow->addWidget(m_format);
    formatRow->addStretch();
    auto* skipRow = new QHBoxLayout;
    skipRow->addWidget(skipLabel);
    skipRow->addWidget(m_tags);
    skipRow->addWidget(new QLabel(tr("   html tags and"), textGroup));
    skipRow->addWidget(m_numbersToSkip);
    skipRow->addWidget(new QLabel(tr("numbers."), textGroup));
    skipRow->addStretch();
    auto* textLayout = new QVBoxLayout(textGroup);
    textLayout->addWidget(m_textBefore);
    textLayout->addLayout(skipRow);

    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(m_standardSearch);
    kindRow->addWidget(m_advancedSearch);
    kindRow->addWidget(m_jsonSearch);
    kindRow->addStretch();
    auto* regExpLayout = new QVBoxLayout(regExpGroup);
    regExpLayout->setContentsMargins(6, 4, 6, 4);
    regExpLayout->addWidget(m_regExp);
    auto* quotationRow = new QHBoxLayout;
    quotationRow->addWidget(quotationLabel);
    quotationRow->addWidget(m_quotationIndex);
    quotationRow->addStretch();
    auto* areaLayout = new QVBoxLayout(m_regExpArea);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    areaLayout->setSpacing(4);
    areaLayout->addLayout(kindRow);
    areaLayout->addWidget(regExpGroup);
    areaLayout->addLayout(quotationRow);
    areaLayout->addLayout(dateRow);
    areaLayout->addLayout(timeRow);
    areaLayout->addWidget(m_jsonControls.front());
    areaLayout->addStretch();
    auto* slotLayout = new QVBoxLayout(m_regExpSlot);
    slotLayout->setContentsMargins(0, 0, 0, 0);
    slotLayout->addWidget(m_regExpArea);

    auto* advancedRow = new QHBoxLayout;
    advancedRow->addStretch();
    advancedRow->addWidget(m_advancedButton);
    auto* rulesLayout = new QVBoxLayout(rules);
    rulesLayout->addWidget(none);
    rulesLayout->addWidget(m_semiHtml);
    rulesLayout->addWidget(textOnly);
    rulesLayout->addLayout(formatRow);
    rulesLayout->addWidget(m_caseInsensitive);
    rulesLayout->addWidget(textGroup);
    rulesLayout->addLayout(advancedRow);
    rulesLayout->addWidget(m_regExpSlot);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_testButton);
    buttonRow->addWidget(saveAsButton);
    buttonRow->addWidget(helpButton);
    buttonRow->addStretch();
    buttonRow->addWidget(okButton);
    buttonRow->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // the advanced part alone changes the size
    layout->addLayout(urlRow);
    layout->addLayout(timeoutRow);
    layout->addLayout(checksRow);
    layout->addLayout(headersRow);
    layout->addWidget(rules);
    layout->addLayout(buttonRow);

    // The numbers in the order of the dialog, which OK checks them in.
    m_numbers.insert(m_numbers.begin(), {{timeout, &ServerConfig::timeout},
                                         {m_maxChange, &ServerConfig::maxChange},
                                         {m_tags, &ServerConfig::tagsToSkip},
                                         {m_numbersToSkip, &ServerConfig::numbersToSkip},
                                         {m_quotationIndex, &ServerConfig::quotationIndex}});

    connect(urlButton, &QPushButton::clicked, this, &ServerSettingsDialog::openDownloadUrl);
    connect(m_advancedButton, &QPushButton::clicked, this, &ServerSettingsDialog::toggleAdvanced);
    connect(m_testButton, &QPushButton::clicked, this, &ServerSettingsDialog::testDownload);
    connect(saveAsButton, &QPushButton::clicked, this, &ServerSettingsDialog::saveAs);
    connect(helpButton, &QPushButton::clicked, this, &ServerSettingsDialog::openHelp);
    connect(okButton, &QPushButton::clicked, this, &ServerSettingsDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_conversion, &QButtonGroup::idToggled, this, &ServerSettingsDialog::applyEnabling);
    connect(m_advancedSearch, &QRadioButton::toggled, this, &ServerSettingsDialog::applyEnabling);
    connect(m_jsonSearch, &QRadioButton::toggled, this, &ServerSettingsDialog::applyEnabling);
    connect(m_extractDate, &QCheckBox::toggled, this, &ServerSettingsDialog::applyEnabling);
    connect(m_extractTime, &QCheckBox::toggled, this, &ServerSettingsDialog::applyEnabling);

    applyEnabling();
    setAdvancedOpen(config.searchKind == SearchKind::RegularExpression || config.searchKind == SearchKind::JsonPath);
}

ServerSettingsDialog::~ServerSettingsDialog() = default;

NumberField* ServerSettingsDialog::makeNumberField(const char* name, std::int32_t ServerConfig::*member,
                                                   QWidget* parent)
{
    const ServerConfigField& field = fieldOf(member);
    auto* number = new NumberField(QLatin1String(name), m_config.*member, field.low, field.high, parent);
    if (member == &ServerConfig::quotationIndex)
        number->setArrowRange(0, RegExp::kMaxSubstrings - 1); // the captures a match can give
    return number;
}

void ServerSettingsDialog::setTestDownload(TestDownload testDownload)
{
    m_testDownload = std::move(testDownload);
    m_testButton->setEnabled(static_cast<bool>(m_testDownload));
}

void ServerSettingsDialog::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

void ServerSettingsDialog::updateTitle()
{
    const std::string& shown = m_configName == strings::kUserDefinedServer ? m_itemName : m_configName;
    setWindowTitle(tr("Server properties - [%1]").arg(fromCore(shown)));
}

void ServerSettingsDialog::fillFallbacks(const std::string& chosen)
{
    std::vector<std::string> names;
    enumerateServerConfigs(names);
    QStringList shown = sortedNames(names);
    // A fallback that is not stored (any more) stays what it was until the user picks another.
    const QString kept = fromCore(chosen);
    if (!chosen.empty() && !shown.contains(kept))
        shown << kept;
    const QSignalBlocker blocker(m_fallback);
    m_fallback->clear();
    m_fallback->addItem(tr("(none)"), QString());
    const QString own = fromCore(m_configName);
    for (const QString& name : shown) {
        if (name != own || name == kept)
            m_fallback->addItem(name, name);
    }
    m_fallback->setCurrentIndex(std::max(0, m_fallback->findData(fromCore(chosen))));
}

bool ServerSettingsDialog::storedConfiguration() const
{
    return m_configName != strings::kUserDefinedServer;
}

void ServerSettingsDialog::applyEnabling()
{
    // An item's own settings are kept in the portfolio file, which has no place for these.
    for (QWidget* control : m_maxChangeControls)
        control->setEnabled(storedConfiguration());
    for (QWidget* control : m_fallbackControls)
        control->setEnabled(storedConfiguration());
    for (QWidget* control : m_headersControls)
        control->setEnabled(storedConfiguration());
    m_jsonSearch->setEnabled(storedConfiguration());
    const bool regExpSearch = m_advancedSearch->isChecked();
    const bool jsonSearch = m_jsonSearch->isChecked();
    for (QWidget* control : m_regExpControls)
        control->setEnabled(regExpSearch);
    // The JSON paths take the place of the expression's controls while chosen.
    for (const auto* controls : {&m_regExpControls, &m_dateControls, &m_timeControls}) {
        for (QWidget* control : *controls)
            control->setVisible(!jsonSearch);
    }
    for (QWidget* control : m_jsonControls) {
        control->setEnabled(jsonSearch);
        control->setVisible(jsonSearch);
    }
    for (QWidget* control : m_dateControls)
        control->setEnabled(regExpSearch && m_extractDate->isChecked());
    for (QWidget* control : m_timeControls)
        control->setEnabled(regExpSearch && m_extractTime->isChecked());
    const bool standardSearch = !regExpSearch && !jsonSearch;
    m_textBefore->setEnabled(standardSearch);
    m_numbersToSkip->setEnabled(standardSearch);
    m_tags->setEnabled(standardSearch && m_semiHtml->isChecked()); // tags are left only by semi-html
    m_advancedButton->setEnabled(standardSearch);
}

void ServerSettingsDialog::toggleAdvanced()
{
    setAdvancedOpen(!m_advancedOpen);
}

void ServerSettingsDialog::setAdvancedOpen(bool open)
{
    m_advancedOpen = open;
    m_advancedButton->setText(advancedText(open));
    m_regExpArea->setVisible(open);
    // The slot keeps its place in the rules group when closed, so the group, the buttons
    // below it and the dialog move by exactly its height.
    m_regExpSlot->setFixedHeight(open ? kAdvancedHeight : 0);
    // As wide closed as open: only the height changes.
    m_regExpArea->ensurePolished();
    m_regExpSlot->setMinimumWidth(m_regExpArea->sizeHint().width());
    // Lay out now, inside out, so the new size holds when this returns.
    m_regExpSlot->parentWidget()->layout()->activate();
    layout()->activate();
}

bool ServerSettingsDialog::take(ServerConfig& config)
{
    ServerConfig taken = config;
    for (const NumberBinding& binding : m_numbers) {
        // A field the user cannot reach keeps its value unless it holds a good one.
        const bool reachable = binding.field->isEnabledTo(this) && binding.field->isVisibleTo(this);
        const auto value = reachable ? binding.field->read() : binding.field->value();
        if (value)
            taken.*binding.member = *value;
        else if (reachable)
            return false;
    }
    taken.url = toCore(m_url->text());
    taken.conversion = Conversion{std::max(m_conversion->checkedId(), 0)};
    const QStringList pair = m_format->currentData().toStringList(); // none: " 9999,99"
    taken.thousandsSeparator = pair.size() == 2 ? toCore(pair[0]) : numberFormats()[1].thousands;
    taken.decimalSeparator = pair.size() == 2 ? toCore(pair[1]) : numberFormats()[1].decimal;
    taken.caseInsensitive = m_caseInsensitive->isChecked();
    taken.searchKind = m_advancedSearch->isChecked() ? SearchKind::RegularExpression
                       : m_jsonSearch->isChecked()   ? SearchKind::JsonPath
                                                     : SearchKind::Standard;
    taken.jsonValue = toCore(m_jsonValue->text());
    taken.jsonDate = toCore(m_jsonDate->text());
    taken.jsonTime = toCore(m_jsonTime->text());
    taken.textBeforeValue = toCore(m_textBefore->text());
    taken.regExp = toCore(m_regExp->text());
    taken.extractDate = m_extractDate->isChecked();
    taken.extractTime = m_extractTime->isChecked();
    taken.fallback = toCore(m_fallback->currentData().toString());
    taken.headers = storedRequestHeaders(toCore(m_headers->toPlainText()));
    if (const std::string problem = requestHeadersProblem(taken.headers); !problem.empty()) {
        Prompter::instance().inform(this, QString::fromStdString(problem), Prompter::Icon::Warning);
        m_headers->setFocus();
        return false;
    }
    config = taken;
    return true;
}

void ServerSettingsDialog::accept()
{
    if (take(m_config))
        QDialog::accept();
}

void ServerSettingsDialog::openDownloadUrl()
{
    const std::string dated = expandDateVariables(toCore(m_url->text()), 0, m_clock());
    Shell::instance().open(expandItemVariables(dated, m_itemName, m_itemSymbol));
}

void ServerSettingsDialog::testDownload()
{
    if (m_testDownload && take(m_config))
        m_testDownload(m_config);
}

void ServerSettingsDialog::saveAs()
{
    if (!take(m_config))
        return;
    std::vector<std::string> names;
    enumerateServerConfigs(names);
    SaveConfigurationDialog dialog(std::move(names), this);
    Prompter& prompter = Prompter::instance();
    // Shown again after a name was refused, with that name selected.
    for (; prompter.exec(dialog) == QDialog::Accepted; dialog.nameCombo()->lineEdit()->selectAll()) {
        const std::string name = dialog.name();
        if (name == strings::kUserDefinedServer) {
            m_configName = name; // the item's own settings: stored by the item on OK
            applyEnabling();
            return;
        }
        if (const std::string problem = serverNameProblem(name); !problem.empty()) {
            prompter.inform(this, QString::fromStdString(problem), Prompter::Icon::Warning);
            continue;
        }
        if (serverConfigExists(name)
            && prompter.ask(this, tr("The server configuration '%1' already exists.\n"
                                                 "Do you want to replace it?")
                                      .arg(fromCore(name)))
                   != Prompter::Yes)
            continue;
        m_configName = name;
        updateTitle();
        if (m_config.fallback == name)
            m_config.fallback.clear(); // never its own fallback
        if (!writeServerConfig(name, m_config))
            reportUnsavedSettings(this);
        fillFallbacks(m_config.fallback);
        applyEnabling();
        return;
    }
}

void ServerSettingsDialog::openHelp()
{
    openHelpPage(strings::kServerInfoPage);
}

} // namespace tarvelo
