#include "support/Gui.h"

#include "data/Database.h"
#include "shell/ui/TMain.h"
#include "support/TestDb.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

int MessageRecorder::show(const Message& message)
{
    shown << message;
    const bool question = (message.buttons & ~int(Message::Ok)) != 0;
    if (!question)
        return Message::Ok;
    if (answers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + message.text), __FILE__,
                     __LINE__);
        return (message.buttons & Message::Cancel) ? Message::Cancel : Message::No;
    }
    return answers.dequeue();
}

QStringList MessageRecorder::texts() const
{
    QStringList t;
    for (const Message& m : shown)
        t << m.text;
    return t;
}

DialogScript::DialogScript()
{
    Dialogs::setHandler([this](QDialog* dialog) {
        seen << dialog->objectName();
        if (m_steps.isEmpty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected dialog: ") + dialog->objectName() +
                                    QStringLiteral(" \"") + dialog->windowTitle() +
                                    QStringLiteral("\"")),
                         __FILE__, __LINE__);
            dialog->reject();
            return;
        }
        Step step = m_steps.dequeue();
        step(dialog);
    });
}

DialogScript::~DialogScript()
{
    Dialogs::setHandler(nullptr);
}

void click(QWidget* root, const char* objectName)
{
    auto* button = root->findChild<QAbstractButton*>(QLatin1String(objectName));
    if (!button) {
        QTest::qFail(qPrintable(QStringLiteral("no button ") + QLatin1String(objectName)), __FILE__,
                     __LINE__);
        return;
    }
    button->click();
}

void type(QWidget* root, const char* objectName, const QString& text)
{
    auto* edit = root->findChild<QLineEdit*>(QLatin1String(objectName));
    if (!edit) {
        QTest::qFail(qPrintable(QStringLiteral("no field ") + QLatin1String(objectName)), __FILE__,
                     __LINE__);
        return;
    }
    edit->setText(text);
}

ShellFixture::ShellFixture(bool userControl)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       m_dir.path() + QStringLiteral("/settings"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       m_dir.path() + QStringLiteral("/settings"));
    QDir().mkpath(dataFolder());
    TestDb::copyTemplate(databasePath());
    Settings s;
    s.PasswordChecking = userControl;
    Settings::writeDefault(s);
    Messages::install(&messages);
    state.DataFolder = dataFolder();
}

ShellFixture::~ShellFixture()
{
    main.reset();
    Messages::install(nullptr);
}

void ShellFixture::prepare(const std::function<void(Database&)>& work)
{
    Database db(QStringLiteral("fixture"));
    QString error;
    if (!db.Connect(databasePath(), &error))
        qFatal("cannot open the fixture database: %s", qPrintable(error));
    work(db);
    db.Disconnect();
}

TMain& ShellFixture::makeMain()
{
    main = std::make_unique<TMain>(state);
    main->setAutoStart(false);
    return *main;
}

TMain& ShellFixture::start()
{
    makeMain();
    if (!main->firstShowing())
        QTest::qFail("the start-up ended the program", __FILE__, __LINE__);
    return *main;
}

DialogScript::Step loginAs(const QString& id, const QString& password)
{
    return [id, password](QDialog* d) {
        type(d, "userIdEdit", id);
        type(d, "passwordEdit", password);
        click(d, "okButton");
    };
}
