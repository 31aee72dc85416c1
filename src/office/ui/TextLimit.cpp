#include "office/ui/TextLimit.h"

#include <QPlainTextEdit>
#include <QTextCursor>

void limitLength(QPlainTextEdit* edit, int length)
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, length] {
        const QString text = edit->toPlainText();
        if (text.size() <= length)
            return;
        const int at = std::min(edit->textCursor().position(), length);
        edit->setPlainText(text.left(length));
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(at);
        edit->setTextCursor(cursor);
    });
}
