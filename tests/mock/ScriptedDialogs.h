#pragma once

#include "ui/platform/Dialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

// Answers message and input boxes as a test tells it and records what was asked, so that no test
// ever waits on a modal box.
class ScriptedDialogs : public Dialogs
{
public:
    struct Asked {
        QString kind; // "message", "input" or "modal"
        QString text;
        int style = 0;
        QString title;
        QString defaultAnswer;
    };

    QList<Asked> asked;
    // Results for the next message boxes; when none is left, the default button answers.
    QList<int> nextResults;
    // Answers for the next input boxes; when none is left, the default answer is taken.
    QStringList nextAnswers;
    // Runs while a box is open, to look at the program's state at that moment.
    std::function<void(const Asked &)> whileOpen;
    std::function<void(QDialog &)> whileModal;

    // What pressing Enter gives for the style: the result of its default button.
    static int defaultResult(int style);

protected:
    int runMessageBox(const QString &text, int style, const QString &title) override;
    QString runInputBox(const QString &prompt, const QString &title,
                        const QString &defaultAnswer) override;
    void runModal(QDialog &dialog) override;
};
