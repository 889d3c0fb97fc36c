// SPStatus: whether the SP answers. Everything that shows or depends on it follows the signal.
#pragma once

#include <QObject>

class LinkState : public QObject {
    Q_OBJECT
public:
    enum Status { Online = 1, Offline = -1 };

    using QObject::QObject;

    Status SPStatus() const { return status; }
    bool isOnline() const { return status == Online; }
    void setStatus(Status s)
    {
        if (s == status)
            return;
        status = s;
        emit statusChanged(s);
    }

signals:
    void statusChanged(LinkState::Status status);

private:
    Status status = Offline;
};
