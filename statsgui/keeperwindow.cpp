#include "keeperwindow.h"

#include "badrowspanel.h"
#include "changestab.h"
#include "checktab.h"
#include "keeperactions.h"
#include "logoverview.h"
#include "sheathtab.h"
#include "tableinstaller.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStyle>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

KeeperWindow::KeeperWindow(QWidget *parent)
    : QMainWindow(parent), m_worker(new LogReadWorker), m_actions(new KeeperActions(this)),
      m_installedFolder(calculatorFolder().path), m_tabs(new QTabWidget)
{
    setWindowTitle(tr("Velmira — статистика клиники"));
    setAcceptDrops(true);
    qRegisterMetaType<LogReadResult>();
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(this, &KeeperWindow::readRequested, m_worker, &LogReadWorker::read);
    connect(m_worker, &LogReadWorker::progressed, this, &KeeperWindow::showProgress);
    connect(m_worker, &LogReadWorker::finished, this, &KeeperWindow::showResult);
    m_thread.start();

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(topBar());
    layout->addWidget(m_tabs, 1);
    layout->addWidget(actionBar());
    setCentralWidget(central);
    m_tabs->addTab(new QLabel(tr("Откройте журнал случаев клиники: книгу (.xlsx, .ods) или CSV. "
                                 "Его можно и перетащить в это окно.")),
                   tr("Журнал"));
    setReading(false);
    refreshActions();
    // In text lines, so that the window follows the system's font and scale.
    // In text lines, so that the window follows the system's font and scale;
    // never past the screen's free area, where its buttons would be out of reach.
    const int line = fontMetrics().height();
    QSize size(line * 70, line * 40);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);
}

KeeperWindow::~KeeperWindow()
{
    stopWorker();
}

void KeeperWindow::stopWorker()
{
    if (!m_thread.isRunning())
        return;
    m_worker->setCancelled(true);
    m_thread.quit();
    m_thread.wait();
}

QWidget *KeeperWindow::topBar()
{
    auto *bar = new QWidget;
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    m_open = new QPushButton(tr("&Открыть журнал…"));
    connect(m_open, &QPushButton::clicked, this, &KeeperWindow::chooseLog);
    m_file = new QLabel(tr("Журнал не открыт"));
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progress = new QProgressBar;
    m_progress->setAccessibleName(tr("Чтение журнала"));
    m_cancel = new QPushButton(tr("Отм&енить"));
    connect(m_cancel, &QPushButton::clicked, this, &KeeperWindow::cancelReading);
    layout->addWidget(m_open);
    layout->addWidget(m_file, 1);
    layout->addWidget(m_progress);
    layout->addWidget(m_cancel);
    return bar;
}

QWidget *KeeperWindow::actionBar()
{
    auto *bar = new QWidget;
    auto *layout = new QVBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    m_status = new QLabel;
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    auto *buttons = new QHBoxLayout;
    m_saveReport = new QPushButton(tr("Сохранить от&чёт…"));
    m_openReport = new QPushButton(tr("Открыть о&тчёт"));
    m_saveTables = new QPushButton(tr("Сохранить т&аблицы…"));
    m_install = new QPushButton(tr("&Установить таблицы"));
    if (calculatorFolder().needsElevation)
        m_install->setIcon(style()->standardIcon(QStyle::SP_VistaShield));
    connect(m_saveReport, &QPushButton::clicked, m_actions, &KeeperActions::saveReport);
    connect(m_openReport, &QPushButton::clicked, m_actions, &KeeperActions::openReport);
    connect(m_saveTables, &QPushButton::clicked, m_actions, &KeeperActions::saveTables);
    connect(m_install, &QPushButton::clicked, m_actions, &KeeperActions::install);
    m_restore = new QPushButton(tr("&Вернуть прежние таблицы…"));
    connect(m_restore, &QPushButton::clicked, m_actions, &KeeperActions::restore);
    connect(m_actions, &KeeperActions::reportSaved, this, &KeeperWindow::refreshActions);
    // Every tab judged the tables that were there: the log is read again.
    connect(m_actions, &KeeperActions::tablesChanged, this, [this] {
        if (!m_result.path.isEmpty() && !m_reading)
            openLog(m_result.path);
    });
    buttons->addWidget(m_saveReport);
    buttons->addWidget(m_openReport);
    buttons->addWidget(m_saveTables);
    buttons->addStretch();
    buttons->addWidget(m_restore);
    buttons->addWidget(m_install);
    layout->addLayout(buttons);
    return bar;
}

void KeeperWindow::openArguments(const QStringList &arguments)
{
    if (arguments.size() > 1)
        openLog(arguments.at(1));
}

// The dialog starts where the last log was: a keeper keeps the log in one place.
void KeeperWindow::chooseLog()
{
    QSettings settings;
    const QString path
        = QFileDialog::getOpenFileName(this, tr("Открыть журнал случаев"),
                                       settings.value(QStringLiteral("lastLogFolder")).toString(),
                                       tr("Книги и CSV (*.xlsx *.ods *.csv *.txt);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    settings.setValue(QStringLiteral("lastLogFolder"), QFileInfo(path).absolutePath());
    openLog(path);
}

void KeeperWindow::openLog(const QString &path)
{
    if (m_reading)
        return;
    m_file->setText(QDir::toNativeSeparators(path));
    setReading(true);
    m_worker->setCancelled(false);
    emit readRequested(path, m_installedFolder);
}

void KeeperWindow::cancelReading()
{
    m_worker->setCancelled(true);
    m_cancel->setEnabled(false);
}

void KeeperWindow::setReading(bool reading)
{
    m_reading = reading;
    // Rows read are known, the rows to come are not: the bar only moves.
    m_progress->setRange(0, reading ? 0 : 1);
    m_progress->setVisible(reading);
    m_progress->setFormat(QString());
    m_cancel->setVisible(reading);
    m_cancel->setEnabled(reading);
    m_open->setEnabled(!reading);
    if (reading)
        m_status->setText(tr("Журнал читается…"));
    refreshActions();
}

void KeeperWindow::showProgress(int rowsRead)
{
    m_status->setText(tr("Журнал читается: прочитано строк %1…").arg(rowsRead));
}

void KeeperWindow::showResult(const LogReadResult &result)
{
    m_result = result;
    m_skipBadRows = false;
    m_build = TablesBuild(m_result, m_skipBadRows);
    while (m_tabs->count() > 0) {
        QWidget *tab = m_tabs->widget(0);
        m_tabs->removeTab(0);
        tab->deleteLater();
    }
    auto *logTab = new QWidget;
    auto *layout = new QVBoxLayout(logTab);
    m_overview = new QWidget;
    new QFormLayout(m_overview);
    layout->addWidget(m_overview);
    const CaseLogReading &reading = m_result.evidence.reading;
    if (m_result.error().isEmpty() && reading.badRows > 0) {
        auto *bad = new BadRowsPanel(reading);
        connect(bad, &BadRowsPanel::skipChanged, this, &KeeperWindow::setSkipBadRows);
        layout->addWidget(bad, 1);
    } else {
        layout->addStretch();
    }
    // Scrolled, so that no message, however long, makes the window grow past the screen.
    auto *logScroll = new QScrollArea;
    logScroll->setWidgetResizable(true);
    logScroll->setFrameShape(QFrame::NoFrame);
    logScroll->setWidget(logTab);
    m_tabs->addTab(logScroll, tr("Журнал"));
    m_changes = nullptr;
    if (m_result.error().isEmpty()) {
        for (const SheathEvidence &sheath : m_result.evidence.sheaths)
            m_tabs->addTab(new SheathTab(sheath), tr("Кожух %1").arg(sheathName(sheath.sheath)));
        m_changes = new ChangesTab(m_installedFolder, m_result.evidence.sheaths);
        m_tabs->addTab(m_changes, tr("Что изменит установка"));
    }
    m_check = nullptr;
    if (m_result.check.validation()) {
        m_check = new CheckTab(m_result.check);
        m_tabs->addTab(m_check, tr("Проверка"));
    }
    // The log shown names the window, as a document names its editor's.
    setWindowTitle(
        m_result.error().isEmpty()
            ? tr("%1 — Velmira — статистика клиники").arg(QFileInfo(m_result.path).fileName())
            : tr("Velmira — статистика клиники"));
    setReading(false);
    refreshOverview();
    refreshCheck();
    emit logShown();
}

void KeeperWindow::setSkipBadRows(bool skip)
{
    m_skipBadRows = skip;
    m_build = TablesBuild(m_result, m_skipBadRows);
    refreshOverview();
    refreshActions();
    refreshCheck();
}

// The new tables are compared once the log gives them, as skipping bad rows may.
void KeeperWindow::refreshCheck()
{
    if (m_check)
        m_check->refresh(m_build.ready());
}

void KeeperWindow::refreshOverview()
{
    auto *form = static_cast<QFormLayout *>(m_overview->layout());
    while (form->rowCount() > 0)
        form->removeRow(0);
    for (const LogOverview::Line &line : LogOverview::lines(m_result, m_skipBadRows)) {
        auto *value = new QLabel(line.second);
        value->setWordWrap(true);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        form->addRow(line.first + QLatin1Char(':'), value);
    }
}

QStringList KeeperWindow::changeSummaries() const
{
    QStringList lines;
    const auto *changes = static_cast<const ChangesTab *>(m_changes);
    for (int i = 0; changes && i < changes->changes().size(); ++i)
        lines << tr("Кожух %1: %2")
                     .arg(sheathName(m_result.evidence.sheaths.at(i).sheath),
                          InstalledComparison::verdict(changes->changes().at(i)));
    return lines;
}

void KeeperWindow::refreshActions()
{
    const bool ready = !m_reading && m_build.ready();
    m_saveReport->setEnabled(ready);
    m_saveTables->setEnabled(ready);
    m_install->setEnabled(ready);
    m_openReport->setEnabled(!m_actions->reportPath().isEmpty());
    m_actions->setBuild(m_build, changeSummaries(),
                        m_build.ready() ? m_result.check.validation() : std::nullopt);
    if (!m_reading) {
        const QString refusal = m_result.path.isEmpty() || ready ? QString() : m_build.refusal();
        // The refusal is worded as the command's messages, after a colon. Its
        // first line is enough here: a log's error is told in full on its tab.
        QString shown = refusal.section(QLatin1Char('\n'), 0, 0);
        if (shown.size() < refusal.size())
            shown += tr(" Подробнее — на вкладке «Журнал».");
        m_status->setText(shown.left(1).toUpper() + shown.mid(1));
    }
    // An empty line would only take room from the tabs.
    m_status->setVisible(!m_status->text().isEmpty());
}

void KeeperWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!m_reading && !urls.isEmpty() && urls.constFirst().isLocalFile())
        event->acceptProposedAction();
}

void KeeperWindow::dropEvent(QDropEvent *event)
{
    openLog(event->mimeData()->urls().constFirst().toLocalFile());
    event->acceptProposedAction();
}

void KeeperWindow::closeEvent(QCloseEvent *event)
{
    stopWorker();
    event->accept();
}
