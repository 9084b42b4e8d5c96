#pragma once

#include <functional>

#include <QList>
#include <QString>

#include "GEDControlClass.h"
#include "QStringPrinting.h"

// Records every ReportMessage in order; an optional reaction runs inside the
// call, as a handler of the program would (for example to call Quit).
class RecordingListener : public GEDControlListener {
public:
    struct Message {
        QString text;
        bool warning;
    };
    QList<Message> messages;
    std::function<void(const Message&)> reaction;

    void ReportMessage(const QString& sText, bool bWarning) override {
        messages.append({sText, bWarning});
        if (reaction)
            reaction(messages.last());
    }

    QStringList warnings() const {
        QStringList texts;
        for (const Message& m : messages)
            if (m.warning)
                texts.append(m.text);
        return texts;
    }
};
