#pragma once

#include "ui/platform/Clipboard.h"

class QMimeData;

class QtClipboard : public Clipboard
{
    Q_OBJECT
public:
    explicit QtClipboard(QObject *parent = nullptr);

    bool holdsText() override;
    QString text() override;
    void clear() override;
    void setText(const QString &text) override;
    bool reportsChanges() const override;
    bool watchesWithoutFocus() const override;

    // Password managers mark what they copy so that clipboard tools leave it alone.
    static bool isMarkedSecret(const QMimeData &data);
};
