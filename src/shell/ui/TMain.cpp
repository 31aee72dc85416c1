#include "shell/ui/TMain.h"

#include "data/Clock.h"
#include "data/Dataset.h"
#include "data/SchemaUpgrade.h"
#include "ledger/Posting.h"
#include "ledger/ui/TFreqForm.h"
#include "office/Reminders.h"
#include "records/ui/RecordCommands.h"
#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/SharedTables.h"
#include "shell/Startup.h"
#include "shell/StopSignals.h"
#include "shell/Users.h"
#include "shell/ui/AccessKeys.h"
#include "shell/ui/CommandBar.h"
#include "shell/ui/Dialogs.h"
#include "shell/ui/Header.h"
#include "shell/ui/Icons.h"
#include "shell/ui/Splash.h"
#include "shell/ui/TFormPass.h"
#include "shell/ui/TFormWorkers.h"
#include "shell/ui/TPromptForm.h"
#include "cashbook/ui/CashbookCommands.h"
#include "ledger/ui/LedgerCommands.h"
#include "office/ui/OfficeCommands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QThread>
#include <QVBoxLayout>

const QString TMain::NoRights = QStringLiteral("You do not have rights to access this area!");

TMain::TMain(AppState& state, QWidget* parent) : QMainWindow(parent), m_state(state)
{
    setObjectName(QStringLiteral("TMain"));
    setWindowTitle(Titles::MainWindow);
    if (m_state.DataFolder.isEmpty())
        m_state.DataFolder = AppState::defaultDataFolder();
    m_state.db.Disconnect();
    Settings::readDefault(m_state.settings);

    m_header = new Header;
    // "dddd mmmm, dd yyyy": Wednesday December, 10 2008.
    m_header->setDateText(QLocale(QLocale::English).toString(Clock::today(),
                                                             QStringLiteral("dddd MMMM, dd yyyy")));
    m_bar = new CommandBar;
    m_mdi = new QMdiArea;
    m_mdi->setObjectName(QStringLiteral("childArea"));
    m_mdi->setBackground(palette().brush(QPalette::Dark));
    // Child windows that do not fit are scrolled to; arranging them never makes the main
    // window larger than the screen.
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(m_bar);
    body->addWidget(m_mdi, 1);
    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_header);
    column->addLayout(body, 1);
    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusBar()->setSizeGripEnabled(true);

    buildMenus();
    buildCommandBar();
    connectCommands();
}

TMain::~TMain() = default;

QAction* TMain::addCommand(QMenu* menu, const QString& key, const QString& text,
                           const QKeySequence& shortcut)
{
    auto* action = new QAction(text, this);
    action->setObjectName(key + QStringLiteral("Action"));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    action->setIcon(Icons::command(key));
    // A command whose screen does not exist yet stays visibly disabled.
    action->setEnabled(false);
    menu->addAction(action);
    m_commands.insert(key, action);
    return action;
}

void TMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    addCommand(file, QStringLiteral("backup"), QStringLiteral("&Backup..."), QKeySequence(Qt::CTRL | Qt::Key_B));
    addCommand(file, QStringLiteral("restore"), QStringLiteral("&Restore..."), QKeySequence(Qt::CTRL | Qt::Key_R));
    addCommand(file, QStringLiteral("logOff"), QStringLiteral("&Log Off..."));
    file->addSeparator();
    QMenu* setup = file->addMenu(QStringLiteral("&Setup"));
    addCommand(setup, QStringLiteral("users"), QStringLiteral("&Users..."), QKeySequence(Qt::CTRL | Qt::Key_W));
    addCommand(file, QStringLiteral("options"), QStringLiteral("&Options..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    file->addSeparator();
    addCommand(file, QStringLiteral("close"), QStringLiteral("&Close"), QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* sys = bar->addMenu(QStringLiteral("&System Parameters"));
    addCommand(sys, QStringLiteral("owners"), QStringLiteral("&Owners..."));
    addCommand(sys, QStringLiteral("buildings"), QStringLiteral("&Buildings..."));
    addCommand(sys, QStringLiteral("apartments"), QStringLiteral("&Apartments..."));
    addCommand(sys, QStringLiteral("tenants"), QStringLiteral("&Tenants..."));
    addCommand(sys, QStringLiteral("equipment"), QStringLiteral("&Equipment Manager..."));
    addCommand(sys, QStringLiteral("vendors"), QStringLiteral("&Vendors..."));
    addCommand(sys, QStringLiteral("categories"), QStringLiteral("&Cashbook Categories..."));
    addCommand(sys, QStringLiteral("frequencies"), QStringLiteral("&Rent Frequency..."));
    addCommand(sys, QStringLiteral("leaseTerms"), QStringLiteral("&Lease Terms..."));
    addCommand(sys, QStringLiteral("creditCards"), QStringLiteral("Cre&dit Cards..."));

    QMenu* mail = bar->addMenu(QStringLiteral("&Emails"));
    const struct
    {
        const char* key;
        const char* text;
    } mails[] = {{"lateRentEmail", "&Late Rent Reminder email"},
                 {"expiringEmail", "&Expiring leases email"},
                 {"customEmail", "&Custom email"}};
    for (const auto& m : mails) {
        QMenu* sub = mail->addMenu(QLatin1String(m.text));
        addCommand(sub, QLatin1String(m.key) + QStringLiteral("Send"), QStringLiteral("&Send..."));
        addCommand(sub, QLatin1String(m.key) + QStringLiteral("Configure"), QStringLiteral("&Configure..."));
    }

    QMenu* rentals = bar->addMenu(QStringLiteral("&Rentals"));
    addCommand(rentals, QStringLiteral("adjustRent"), QStringLiteral("&Adjust rental rate..."));
    addCommand(rentals, QStringLiteral("latePaymentsRentals"), QStringLiteral("&Late payment List..."));

    QMenu* window = bar->addMenu(QStringLiteral("&Window"));
    addCommand(window, QStringLiteral("tile"), QStringLiteral("&Tile Vertically"));
    addCommand(window, QStringLiteral("cascade"), QStringLiteral("&Cascade"));
    addCommand(window, QStringLiteral("arrange"), QStringLiteral("&Arrange"));
    window->addSeparator();
    addCommand(window, QStringLiteral("minimizeAll"), QStringLiteral("&Minimize All"));
    addCommand(window, QStringLiteral("closeChild"), QStringLiteral("C&lose"));
    // A is "&Arrange".
    addCommand(window, QStringLiteral("closeAll"), QStringLiteral("Clos&e All"));

    QMenu* tools = bar->addMenu(QStringLiteral("&Tools"));
    addCommand(tools, QStringLiteral("reminders"), QStringLiteral("&Reminders..."));
    addCommand(tools, QStringLiteral("todo"), QStringLiteral("&To do List..."));
    addCommand(tools, QStringLiteral("cashbook"), QStringLiteral("&Cashbook..."));

    QMenu* reports = bar->addMenu(QStringLiteral("Re&ports"));
    QMenu* pay = reports->addMenu(QStringLiteral("&Payments"));
    addCommand(pay, QStringLiteral("rptPayments"), QStringLiteral("&Payments Report..."));
    addCommand(pay, QStringLiteral("rptPaymentsByTenant"), QStringLiteral("Pa&yments by tenant..."));
    addCommand(pay, QStringLiteral("latePayments"), QStringLiteral("&Late payment List..."), QKeySequence(Qt::CTRL | Qt::Key_L));
    addCommand(pay, QStringLiteral("rptPaymentsSummary"), QStringLiteral("Payments &Summary Report..."));
    QMenu* ten = reports->addMenu(QStringLiteral("&Tenants"));
    addCommand(ten, QStringLiteral("rptTenantsList"), QStringLiteral("Tenants &List..."));
    addCommand(ten, QStringLiteral("rptTenantDetails"), QStringLiteral("&Tenant Details Report..."));
    addCommand(ten, QStringLiteral("rptWaitList"), QStringLiteral("&WaitList..."));
    QMenu* own = reports->addMenu(QStringLiteral("&Owners"));
    addCommand(own, QStringLiteral("rptOwners"), QStringLiteral("&Owners Report..."));
    QMenu* bld = reports->addMenu(QStringLiteral("&Buildings"));
    addCommand(bld, QStringLiteral("rptBuildings"), QStringLiteral("&Buildings List..."));
    addCommand(bld, QStringLiteral("rptBuildingsByOwner"),
               QStringLiteral("Buildings by &owner..."));
    QMenu* apt = reports->addMenu(QStringLiteral("&Apartments"));
    addCommand(apt, QStringLiteral("rptApartments"), QStringLiteral("&Apartments list report..."));
    addCommand(apt, QStringLiteral("rptVacant"), QStringLiteral("&Vacant Apartments report..."));
    addCommand(apt, QStringLiteral("rptOccupied"), QStringLiteral("&Occupied Apartments report"));
    QMenu* cash = reports->addMenu(QStringLiteral("&Cashbook"));
    addCommand(cash, QStringLiteral("rptCashbook"), QStringLiteral("&Cashbook Report..."));
    addCommand(cash, QStringLiteral("rptIncomeByBuilding"), QStringLiteral("Income by &Building..."));
    addCommand(cash, QStringLiteral("rptExpenseByBuilding"), QStringLiteral("Expense by Bui&lding..."));
    addCommand(cash, QStringLiteral("rptIncomeByTenant"), QStringLiteral("Income by &Tenant..."));
    addCommand(cash, QStringLiteral("rptExpenseByTenant"), QStringLiteral("&Expense by Tenant..."));
    addCommand(cash, QStringLiteral("rptExpenseByVendor"), QStringLiteral("E&xpense by Vendors..."));
    addCommand(reports, QStringLiteral("rptVendors"), QStringLiteral("&Vendors..."));
    addCommand(reports, QStringLiteral("rptEquipments"), QStringLiteral("&Equipments..."));
    QMenu* leases = reports->addMenu(QStringLiteral("&Leases"));
    addCommand(leases, QStringLiteral("rptLeaseExpiry"), QStringLiteral("&Lease expiry dates..."));
    addCommand(leases, QStringLiteral("rptExpiredLeases"), QStringLiteral("&Expired Leases Report..."), QKeySequence(Qt::CTRL | Qt::Key_E));
    addCommand(leases, QStringLiteral("rptExpiringThisMonth"), QStringLiteral("Expiring leases this &month..."));
    QMenu* maint = reports->addMenu(QStringLiteral("&Maintenance"));
    // One key each, not M three times.
    addCommand(maint, QStringLiteral("rptMaintByApartment"),
               QStringLiteral("Maintenance by &apartment..."));
    addCommand(maint, QStringLiteral("rptMaintByBuilding"),
               QStringLiteral("Maintenance by &Building..."));
    addCommand(maint, QStringLiteral("rptMaintByVendor"),
               QStringLiteral("Maintenance by &vendor..."));

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    addCommand(help, QStringLiteral("help"), QStringLiteral("&Contents..."), QKeySequence(Qt::Key_F1));
    help->addSeparator();
    addCommand(help, QStringLiteral("about"), QStringLiteral("&About..."));
}

void TMain::buildCommandBar()
{
    struct Button
    {
        const char* caption;
        const char* key;
    };
    const struct
    {
        const char* caption;
        QList<Button> buttons;
    } groups[] = {
        {"Main",
         {{"Owners", "owners"},
          {"Tenants", "tenants"},
          {"Buildings", "buildings"},
          {"Apartments/Units", "apartments"},
          {"Equipment", "equipment"},
          {"To-do List", "todo"},
          {"Vendors", "vendors"},
          {"Help", "help"}}},
        {"Accounting",
         {{"CashBook", "cashbook"},
          {"Collect Rent ", "collectRent"},
          {"Record Expense", "recordExpense"},
          {"Record Income", "recordIncome"},
          {"Payment History", "paymentHistory"}}},
        {"System Parameters",
         {{"Users", "users"},
          {"Cashbook Categories", "categories"},
          {"Rent Frequency", "frequencies"},
          {"Lease Terms", "leaseTerms"},
          {"Credit Cards", "creditCards"}}},
        {"EMail",
         {{"Configure Late Rent Reminder Emails", "lateRentEmailConfigure"},
          {"Send Late Rent Emails", "lateRentEmailSend"},
          {"Configure Expiring Leases  Email", "expiringEmailConfigure"},
          {"Send Expiring Leases Email", "expiringEmailSend"},
          {"Configure Custom Email", "customEmailConfigure"},
          {"Send Custom Email", "customEmailSend"}}},
        {"Other Tools", {{"Reminders", "reminders"}, {"Adjust Rental Rate", "adjustRent"}}},
        {"Letters",
         {{"Late Rent/Charges Letter", "lateRentLetter"},
          {"Lease Agreement", "leaseAgreementLetter"},
          {"Custom Letters", "customLetters"}}},
    };
    for (const auto& g : groups) {
        m_bar->addGroup(QLatin1String(g.caption));
        for (const Button& b : g.buttons) {
            const QString key = QLatin1String(b.key);
            QAction* action = m_commands.value(key);
            if (!action) {
                // Commands that only the command bar offers.
                action = new QAction(QLatin1String(b.caption), this);
                action->setObjectName(key + QStringLiteral("Action"));
                action->setIcon(Icons::command(key));
                action->setEnabled(false);
                m_commands.insert(key, action);
            }
            m_bar->addButton(QLatin1String(b.caption), action, Icons::command(key));
        }
    }
    m_bar->setCurrentGroup(0);
}

void TMain::enable(const QString& key, const std::function<void()>& handler)
{
    QAction* action = m_commands.value(key);
    Q_ASSERT(action);
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, [handler] { handler(); });
}

void TMain::guarded(const QString& key, const QString& flag, const QString& refusal,
                    const std::function<void()>& handler)
{
    enable(key, [this, flag, refusal, handler] {
        if (!m_state.CheckRight(flag)) {
            Messages::information(refusal);
            return;
        }
        handler();
    });
}

void TMain::connectCommands()
{
    enable(QStringLiteral("restore"), [] {}); // the command has no action
    enable(QStringLiteral("logOff"), [this] { logOff(); });
    enable(QStringLiteral("close"), [this] { close(); });
    guarded(QStringLiteral("users"), QStringLiteral("MODUSERS"),
            QStringLiteral("You do not have rights to access users!"), [this] { openUsers(); });
    enable(QStringLiteral("frequencies"), [this] { openFrequencies(); });
    enable(QStringLiteral("about"), [this] { about(); });

    enable(QStringLiteral("tile"), [this] { tileVertically(); });
    enable(QStringLiteral("cascade"), [this] { m_mdi->cascadeSubWindows(); });
    enable(QStringLiteral("arrange"), [this] {
        // Minimized children line up along the bottom again.
        for (QMdiSubWindow* w : m_mdi->subWindowList())
            if (w->isMinimized())
                w->showMinimized();
    });
    enable(QStringLiteral("minimizeAll"), [this] {
        for (QMdiSubWindow* w : m_mdi->subWindowList())
            w->showMinimized();
    });
    enable(QStringLiteral("closeChild"), [this] { m_mdi->closeActiveSubWindow(); });

    // The record screens wire their own commands.
    connectRecordCommands(*this);
    connectTenantCommands(*this);
    connectUnitCommands(*this);
    connectLedgerCommands(*this);
    connectCashbookCommands(*this);
    connectOfficeCommands(*this);
    enable(QStringLiteral("closeAll"), [this] {
        for (QMdiSubWindow* w : m_mdi->subWindowList())
            w->close();
    });
}

QMdiSubWindow* TMain::OpenChild(const QString& key, const std::function<QWidget*()>& factory)
{
    QPointer<QMdiSubWindow> existing = m_children.value(key);
    if (existing) {
        if (existing->isMinimized())
            existing->showNormal();
        m_mdi->setActiveSubWindow(existing);
        existing->raise();
        return existing;
    }
    QWidget* screen = factory();
    QMdiSubWindow* window = m_mdi->addSubWindow(screen);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(key + QStringLiteral("Window"));
    // Ctrl+W is "&Users...": a child window closes with Ctrl+F4 only.
    for (QAction* a : window->systemMenu()->actions()) {
        QList<QKeySequence> keys = a->shortcuts();
        if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_W)) > 0)
            a->setShortcuts(keys);
    }
    AccessKeys::preferOwnKeys(window);
    m_children.insert(key, window);
    window->show();
    return window;
}

bool TMain::Login()
{
    if (!m_state.settings.PasswordChecking)
        return true;
    TFormPass dialog(this);
    dialog.userIdEdit()->clear();
    dialog.passwordEdit()->clear();
    Dataset* users = m_state.tables().Users;
    for (;;) {
        // With the only user's ID filled in, the password is what is left to type.
        if (users->rowCount() == 1) {
            dialog.userIdEdit()->setText(users->valueAt(0, QStringLiteral("ID")).toString());
            dialog.passwordEdit()->setFocus();
        } else {
            dialog.userIdEdit()->setFocus();
        }
        // The dialog stays open while the ID is blank.
        for (;;) {
            if (Dialogs::exec(&dialog) != QDialog::Accepted)
                return false;
            dialog.userIdEdit()->setText(dialog.userIdEdit()->text().trimmed());
            dialog.passwordEdit()->setText(dialog.passwordEdit()->text().trimmed());
            if (!dialog.userIdEdit()->text().isEmpty())
                break;
            Messages::warning(Users::loginMessage(Users::LoginAttempt::BlankId));
        }
        const Users::LoginAttempt attempt = Users::checkLogin(
            m_state.db, dialog.userIdEdit()->text(), dialog.passwordEdit()->text());
        if (attempt.outcome == Users::LoginAttempt::Ok) {
            m_state.CurrentUserWID = attempt.wid;
            m_state.optionsRight = attempt.optionsRight;
            users->locate(QStringLiteral("WID"), attempt.wid);
            return true;
        }
        const QString message = Users::loginMessage(attempt.outcome);
        if (!message.isEmpty())
            Messages::warning(message);
    }
}

bool TMain::firstShowing()
{
    m_started = true;
    const bool result = !StopSignals::requested() && startUp();
    // Whatever ended the start-up, nothing is to stay hidden under the splash window.
    Splash::dismiss();
    emit startupEnded(result);
    return result;
}

bool TMain::startUp()
{
    const Startup::Outcome outcome = Startup::openDatabase(m_state);
    if (outcome != Startup::Continue)
        return false;
    // Without user control only the login is left out: the charges are still posted and the
    // warnings and reminders still shown.
    if (m_state.settings.PasswordChecking && !Login())
        return false;
    if (!Startup::postAndWarn(m_state))
        return true; // the posting error was shown; the window stays usable
    Splash::dismiss();
    ShowDueReminders();
    return true;
}

void TMain::tileVertically()
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : m_mdi->subWindowList())
        if (!w->isMinimized() && w->isVisible())
            windows << w;
    if (windows.isEmpty())
        return;
    for (QMdiSubWindow* w : windows)
        if (w->isMaximized())
            w->showNormal();
    // Side by side, each as high as the area; one narrower than its smallest size is
    // given that size and the area scrolls.
    const QRect area = m_mdi->viewport()->rect();
    const int width = area.width() / int(windows.size());
    int x = 0;
    for (QMdiSubWindow* w : windows) {
        const int wide = std::max(width, w->minimumSizeHint().width());
        const int high = std::max(area.height(), w->minimumSizeHint().height());
        w->setGeometry(x, 0, wide, high);
        x += wide;
    }
}

void TMain::ShowDueReminders()
{
    // Each at the same place, the later on top.
    for (const Reminders::Due& r : Reminders::due(*m_state.tables().Reminders, Clock::today())) {
        auto* prompt = new TPromptForm(r.title, r.description, this);
        prompt->show();
        prompt->raise();
    }
}

void TMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_started || !m_autoStart)
        return;
    m_started = true;
    // The start-up runs once the window is on screen, from the event loop.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!firstShowing()) {
                close();
                QApplication::exit(0);
            }
        },
        Qt::QueuedConnection);
}

void TMain::closeEvent(QCloseEvent* event)
{
    m_mdi->closeAllSubWindows();
    m_state.db.Disconnect();
    Settings::writeDefault(m_state.settings);
    event->accept();
}

void TMain::closeForStop()
{
    if (Dialogs::openModals() > 0 || QApplication::activeModalWidget()) {
        // Cancelled as their own Cancel would; come back once their loops have returned.
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || !w->isModal())
                continue;
            if (auto* dialog = qobject_cast<QDialog*>(w))
                dialog->reject();
            else
                w->close();
        }
        QMetaObject::invokeMethod(this, &TMain::closeForStop, Qt::QueuedConnection);
        return;
    }
    if (!m_closedForStop) {
        m_closedForStop = true;
        close();
    }
    // exit() ends only the event loops that run; the main one may not have begun yet.
    if (QThread::currentThread()->loopLevel() == 0) {
        QMetaObject::invokeMethod(this, &TMain::closeForStop, Qt::QueuedConnection);
        return;
    }
    // Not quit(): a window may refuse that one.
    QCoreApplication::exit(0);
}

void TMain::logOff()
{
    if (!Messages::askOkCancel(QStringLiteral("Logging off!"), Message::Information))
        return;
    if (!Login())
        close();
}

void TMain::openUsers()
{
    TFormWorkers list(m_state, this);
    Dialogs::exec(&list);
}

void TMain::openFrequencies()
{
    TFreqForm list(m_state, this);
    Dialogs::exec(&list);
}

void TMain::about()
{
    Message m;
    m.caption = QStringLiteral("About Marbleway Keystead");
    m.icon = Message::Information;
    m.text = QStringLiteral("Keystead 2008\nMarbleway ");
    Messages::show(m);
}
