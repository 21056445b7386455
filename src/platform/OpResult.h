// The outcome of a core operation as its caller receives it: done, failed or cancelled, the message
// a window shows the user, and the reason written to the log. Errors travel up as this value.
#pragma once

#include <QString>

struct OpResult {
    enum class Status { Done, Failed, Cancelled };
    Status status = Status::Done;
    QString message; // for the user; empty when there is nothing to show
    QString reason;  // for the log when something went wrong

    bool ok() const { return status == Status::Done; }
    bool cancelled() const { return status == Status::Cancelled; }

    static OpResult done(const QString &message = {}) { return {Status::Done, message, {}}; }
    static OpResult failed(const QString &message, const QString &reason = {})
    {
        return {Status::Failed, message, reason.isEmpty() ? message : reason};
    }
    static OpResult cancelledByUser() { return {Status::Cancelled, {}, {}}; }
};
