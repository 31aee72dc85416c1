#pragma once

#include "shell/AppState.h"
#include "shell/Messages.h"
#include "shell/ui/Dialogs.h"

#include <QDialog>
#include <QQueue>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class TMain;
class QAbstractButton;
class QWidget;

// Records every message box. Plain messages are answered OK; a question takes the next queued
// answer, and a question nobody queued an answer for fails the test.
class MessageRecorder : public MessageSink
{
public:
    int show(const Message& message) override;

    QList<Message> shown;
    QQueue<int> answers;

    QStringList texts() const;
    void clear() { shown.clear(); }
};

// Scripts the modal dialogs: each exec takes the next step, which fills the dialog and
// presses its buttons. A dialog nobody scripted fails the test and is cancelled.
class DialogScript
{
public:
    DialogScript();
    ~DialogScript();
    using Step = std::function<void(QDialog*)>;
    void then(Step step) { m_steps.enqueue(std::move(step)); }
    bool done() const { return m_steps.isEmpty(); }
    int pending() const { return int(m_steps.size()); }
    QStringList seen; // object names of the dialogs shown, in order

private:
    QQueue<Step> m_steps;
};

// Finds the child with this object name and clicks it; fails the test when it is missing.
void click(QWidget* root, const char* objectName);
// Sets a line edit's text by object name.
void type(QWidget* root, const char* objectName, const QString& text);
template <typename T> T* child(QWidget* root, const char* objectName)
{
    return root->findChild<T*>(QLatin1String(objectName));
}

// A data folder holding a copy of the template database, private settings, the message and
// dialog seams installed, and the program state aimed at that folder.
class ShellFixture
{
public:
    explicit ShellFixture(bool userControl = true);
    ~ShellFixture();

    QString dataFolder() const { return m_dir.path() + QStringLiteral("/MYDATA/"); }
    QString databasePath() const { return dataFolder() + QStringLiteral("DATA.FDB"); }
    // Runs statements on the file before (or beside) the program's own connection.
    void prepare(const std::function<void(Database&)>& work);

    // The main window with the settings as stored; the start-up is left to the test.
    TMain& makeMain();
    // makeMain and the first showing; fails the test when the start-up ends the program.
    TMain& start();

    MessageRecorder messages;
    DialogScript dialogs;
    AppState state;
    std::unique_ptr<TMain> main;

private:
    QTemporaryDir m_dir;
};

// A login step for the script: user ID and password, then Ok.
DialogScript::Step loginAs(const QString& id, const QString& password = QString());
