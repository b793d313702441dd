#include "mock/ScriptedDialogs.h"

#include <QDialog>

int ScriptedDialogs::defaultResult(int style)
{
    static const QList<QList<int>> buttons = {
        {MsgBoxResult::Ok},
        {MsgBoxResult::Ok, MsgBoxResult::Cancel},
        {MsgBoxResult::Abort, MsgBoxResult::Retry, MsgBoxResult::Ignore},
        {MsgBoxResult::Yes, MsgBoxResult::No, MsgBoxResult::Cancel},
        {MsgBoxResult::Yes, MsgBoxResult::No},
        {MsgBoxResult::Retry, MsgBoxResult::Cancel},
    };
    const QList<int> set = buttons.value(style & 7, buttons.first());
    return set.value((style & 0x300) / MsgBoxStyle::DefaultButton2, set.first());
}

int ScriptedDialogs::runMessageBox(const QString &text, int style, const QString &title)
{
    asked.append({QStringLiteral("message"), text, style, title, QString()});
    if (whileOpen)
        whileOpen(asked.last());
    return nextResults.isEmpty() ? defaultResult(style) : nextResults.takeFirst();
}

QString ScriptedDialogs::runInputBox(const QString &prompt, const QString &title,
                                     const QString &defaultAnswer)
{
    asked.append({QStringLiteral("input"), prompt, 0, title, defaultAnswer});
    if (whileOpen)
        whileOpen(asked.last());
    return nextAnswers.isEmpty() ? defaultAnswer : nextAnswers.takeFirst();
}

void ScriptedDialogs::runModal(QDialog &dialog)
{
    asked.append({QStringLiteral("modal"), QString(), 0, dialog.windowTitle(), QString()});
    if (whileOpen)
        whileOpen(asked.last());
    if (whileModal)
        whileModal(dialog);
}
