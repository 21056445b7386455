// The only tab a locked object shows: says that it is locked and offers Unlock, which runs the
// window's unlock command.
#pragma once

#include <QObject>

class QLabel;
class QPushButton;
class InspectorHost;

class LockTab : public QObject
{
    Q_OBJECT
public:
    explicit LockTab(InspectorHost &host);

    QLabel *lock_message = nullptr;
    QPushButton *unlock_btn = nullptr;
};
