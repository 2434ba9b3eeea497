#include "ui/sourcehealthwindow.h"

#include "download/downloadengine.h"
#include "download/updaterun.h"
#include "model/portfoliolist.h"
#include "model/sourcehealth.h"
#include "resources/strings.h"
#include "ui/qtexts.h"
#include "ui/shell.h"
#include "ui/sourcehealthwatch.h"

#include <QCoreApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace tarvelo {

namespace {

constexpr int kSortRole = Qt::UserRole;     // what a column sorts by, when not by its text
constexpr int kKeyRole = Qt::UserRole + 1;  // column 0: the item's handle

// What the explanation area says while it waits for a diagnosis.
QString idleHint()
{
    return QCoreApplication::translate("tarvelo::SourceHealthWindow", "Choose an item and press Diagnose to learn why its quotation is or is not found.");
}

// A row that sorts times and counts as numbers, and texts without regard to case.
class HealthItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant mine = data(column, kSortRole);
        const QVariant theirs = other.data(column, kSortRole);
        if (mine.isValid() && theirs.isValid())
            return mine.toLongLong() < theirs.toLongLong();
        return text(column).compare(other.text(column), Qt::CaseInsensitive) < 0;
    }
};

} // namespace

SourceHealthWindow::SourceHealthWindow(PortfolioDocument& doc, SourceHealthWatch& watch, const DownloadEngine& engine,
                                       QWidget* parent)
    : QDialog(parent), m_doc(doc), m_watch(watch), m_engine(engine)
{
    setObjectName(QStringLiteral("sourceHealthWindow"));
    setWindowTitle(tr("Source health"));
    setModal(false);
    setSizeGripEnabled(true);

    m_table = new QTreeWidget(this);
    m_table->setObjectName(QStringLiteral("healthTable"));
    m_table->setRootIsDecorated(false);
    m_table->setUniformRowHeights(true);
    m_table->setAllColumnsShowFocus(true);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setHeaderLabels({tr("Item"), tr("Symbol"), tr("Configuration"),
                              tr("Last success"), tr("Failures"),
                              tr("Last reason")});
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(Item, Qt::AscendingOrder);
    m_table->header()->setStretchLastSection(true);
    const QFontMetrics metrics = fontMetrics();
    m_table->setColumnWidth(Item, metrics.horizontalAdvance(QLatin1Char('x')) * 22);
    m_table->setColumnWidth(Symbol, metrics.horizontalAdvance(QLatin1Char('x')) * 10);
    m_table->setColumnWidth(Configuration, metrics.horizontalAdvance(QLatin1Char('x')) * 20);
    m_table->setColumnWidth(LastSuccess, metrics.horizontalAdvance(QStringLiteral("00/00/00 00:00")) + 24);
    m_table->setColumnWidth(Failures, metrics.horizontalAdvance(tr("Failures")) + 24);

    m_diagnose = new QPushButton(tr("&Diagnose"), this);
    m_diagnose->setObjectName(QStringLiteral("diagnoseButton"));
    m_diagnose->setToolTip(tr("Fetch the selected item's page as an update would and explain what "
                                          "its search finds there"));
    m_busy = new QProgressBar(this);
    m_busy->setObjectName(QStringLiteral("diagnoseProgress"));
    m_busy->setRange(0, 0); // busy, without a measure
    m_busy->setTextVisible(false);
    m_busy->setMaximumWidth(metrics.horizontalAdvance(QLatin1Char('x')) * 16);
    m_busy->hide();
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("diagnoseStatus"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_explanation = new QPlainTextEdit(this);
    m_explanation->setObjectName(QStringLiteral("explanation"));
    m_explanation->setReadOnly(true);
    m_explanation->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_explanation->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_explanation->setPlaceholderText(idleHint());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("closeButton"));
    buttons->button(QDialogButtonBox::Help)->setObjectName(QStringLiteral("helpButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [] { openHelpPage(strings::kDialogHelpPage, "source-health"); });

    auto* doctorRow = new QHBoxLayout;
    doctorRow->addWidget(m_diagnose);
    doctorRow->addWidget(m_busy);
    doctorRow->addWidget(m_status, 1);
    auto* lower = new QWidget(this);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addLayout(doctorRow);
    lowerLayout->addWidget(m_explanation);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setChildrenCollapsible(false);
    split->addWidget(m_table);
    split->addWidget(lower);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split);
    layout->addWidget(buttons);
    resize(metrics.horizontalAdvance(QLatin1Char('x')) * 110, metrics.height() * 34);

    connect(m_diagnose, &QPushButton::clicked, this, &SourceHealthWindow::diagnose);
    connect(m_table, &QTreeWidget::itemSelectionChanged, this, &SourceHealthWindow::updateButtons);
    connect(m_table, &QTreeWidget::itemActivated, this, [this] { diagnose(); });
    connect(&m_visit, &QFutureWatcherBase::finished, this, &SourceHealthWindow::diagnosisDone);
    connect(&m_watch, &SourceHealthWatch::changed, this, &SourceHealthWindow::scheduleRefill);
    m_viewToken = m_doc.subscribeViews([this](const DocumentChange& change) { documentChanged(change); });
    refill();
}

SourceHealthWindow::~SourceHealthWindow()
{
    m_doc.unsubscribeViews(m_viewToken);
    // The visit's downloads stop at once; its thread is not left running behind the window.
    // (A visit whose result was taken is over: its future cannot be waited for again.)
    if (m_doctor) {
        m_doctor->stop();
        m_visit.waitForFinished();
    }
}

void SourceHealthWindow::showEvent(QShowEvent* event)
{
    m_watch.refresh();
    refill();
    QDialog::showEvent(event);
}

void SourceHealthWindow::closeEvent(QCloseEvent* event)
{
    stopDiagnosis();
    QDialog::closeEvent(event);
}

void SourceHealthWindow::documentChanged(const DocumentChange& change)
{
    // An item's quotations (an update brings many) change nothing shown here; its name,
    // symbol or configuration change its row.
    if (change.kind == DocumentChange::Kind::Item && !m_refillPending) {
        const SecurityItem* item = m_doc.item(change.item);
        const auto row = m_rowOf.find(change.item.key);
        if (!item || row == m_rowOf.end()) {
            scheduleRefill();
            return;
        }
        const ItemSettings& s = item->settings();
        const QString configuration = fromCore(configurationShown(s));
        if (row->second->text(Item) != fromCore(s.name) || row->second->text(Symbol) != fromCore(s.symbol)
            || row->second->text(Configuration) != configuration)
            scheduleRefill();
        return;
    }
    scheduleRefill();
}

void SourceHealthWindow::scheduleRefill()
{
    // Many changes in a row (an update's quotations) make one refill, and a hidden window
    // waits until it is shown.
    if (m_refillPending || !isVisible())
        return;
    m_refillPending = true;
    QTimer::singleShot(0, this, [this] {
        m_refillPending = false;
        refill();
    });
}

void SourceHealthWindow::refill()
{
    const ItemKey selected = selectedItem();
    m_table->setSortingEnabled(false);
    m_table->clear();
    m_rowOf.clear();
    const std::vector<ItemKey> keys = m_doc.itemPositions();
    const std::vector<const SecurityItem*> itemsNow = m_doc.items();
    const std::vector<HealthRow> rows = healthRows(itemsNow, m_watch.health());
    // Red that reads on the table's background, light or dark.
    const bool dark = m_table->palette().color(QPalette::Base).lightness() < 128;
    const QBrush attention(dark ? QColor(255, 120, 110) : QColor(185, 20, 20));
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const HealthRow& row = rows[i];
        const ItemHealth& health = row.health;
        auto* item = new HealthItem;
        item->setText(Item, fromCore(row.name));
        item->setData(Item, kKeyRole, QVariant::fromValue<qulonglong>(keys[i].key));
        item->setText(Symbol, fromCore(row.symbol));
        item->setText(Configuration, fromCore(row.configuration));
        item->setText(LastSuccess, fromCore(health.lastSuccessText()));
        item->setData(LastSuccess, kSortRole, QVariant::fromValue<qlonglong>(health.lastSuccess));
        item->setText(Failures, QString::number(health.failures));
        item->setData(Failures, kSortRole, health.failures);
        item->setTextAlignment(Failures, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(Reason, fromCore(health.lastReason));
        item->setToolTip(Reason, fromCore(health.lastReason));
        const HealthMark mark = !health.failing() ? HealthMark::None
                                : health.heldBack ? HealthMark::HeldBack
                                                  : HealthMark::Failed;
        item->setIcon(Item, m_icons.icon(rowIcon(*itemsNow[i]), mark));
        if (mark != HealthMark::None) {
            item->setForeground(Failures, attention);
            item->setForeground(Reason, attention);
        }
        items.push_back(item);
        m_rowOf.emplace(keys[i].key, item);
    }
    m_table->addTopLevelItems(items);
    m_table->setSortingEnabled(true);
    select(selected);
    if (!diagnosing())
        m_status->setText(m_watch.error());
    updateButtons();
}

ItemKey SourceHealthWindow::selectedItem() const
{
    const QList<QTreeWidgetItem*> chosen = m_table->selectedItems();
    if (chosen.isEmpty())
        return {};
    return ItemKey{chosen.front()->data(Item, kKeyRole).toULongLong()};
}

void SourceHealthWindow::select(ItemKey item)
{
    for (int row = 0; item && row < m_table->topLevelItemCount(); ++row) {
        QTreeWidgetItem* shown = m_table->topLevelItem(row);
        if (shown->data(Item, kKeyRole).toULongLong() == item.key) {
            m_table->setCurrentItem(shown);
            return;
        }
    }
}

void SourceHealthWindow::updateButtons()
{
    m_diagnose->setEnabled(!diagnosing() && m_doc.isValid(selectedItem()));
}

QString SourceHealthWindow::explanation() const
{
    return m_explanation->toPlainText();
}

void SourceHealthWindow::diagnose()
{
    const SecurityItem* item = m_doc.item(selectedItem());
    if (diagnosing() || !item)
        return;
    // The doctor works on a copy of the item in a portfolio of its own: what it finds
    // never reaches the window's portfolio, and the window's portfolio may change meanwhile.
    auto patientDoc = std::make_shared<PortfolioDocument>();
    auto copy = std::make_unique<SecurityItem>(*item);
    copy->setBeingUpdated(false);
    const ItemKey patient = patientDoc->addItemObject(std::move(copy));
    m_doctor = std::make_shared<ItemDoctor>(1, m_engine.workerSettings());
    m_visit.setFuture(QtConcurrent::run([doctor = m_doctor, patientDoc, patient] {
        return doctor->examine(*patientDoc, {patient});
    }));
    m_busy->show();
    m_status->setText(tr("Diagnosing %1...").arg(fromCore(item->settings().name)));
    m_explanation->clear();
    m_explanation->setPlaceholderText(QString());
    updateButtons();
}

void SourceHealthWindow::stopDiagnosis()
{
    if (m_doctor)
        m_doctor->stop();
}

void SourceHealthWindow::diagnosisDone()
{
    const bool stopped = m_doctor && m_doctor->stopped();
    m_doctor.reset();
    m_busy->hide();
    m_explanation->setPlaceholderText(idleHint());
    std::vector<DoctorPatient> patients;
    try {
        patients = m_visit.future().takeResult();
    } catch (const std::exception& e) {
        m_status->setText(fromCore(e.what()));
        updateButtons();
        return;
    }
    if (stopped || patients.empty() || !patients.front().diagnosis) {
        m_status->setText(stopped ? tr("The diagnosis was stopped.") : QString());
    } else {
        m_status->clear();
        m_explanation->setPlainText(fromCore(doctorExplanation(patients.front())));
    }
    updateButtons();
}

} // namespace tarvelo
