#pragma once

#include "document/DocumentBuilder.h"
#include "platform/Dialogs.h"

#include <QString>
#include <functional>

class QWidget;

// Asks the user about a tileset image of a map being opened that is missing or no longer the same.
class AskingResolver : public TilesetImageResolver {
public:
    // Locate starts in startAt, then where the last image was located; chosen hears of each file located.
    AskingResolver(QWidget* parent, Dialogs& dialogs, QString startAt,
                   std::function<void(const QString&)> chosen)
        : m_parent(parent), m_dialogs(dialogs), m_startAt(std::move(startAt)), m_chosen(std::move(chosen)) {}

    Answer Resolve(const TilesetLoadRecord& load, Problem problem, QString* located) override;

private:
    QWidget* m_parent;
    Dialogs& m_dialogs;
    QString m_startAt;
    std::function<void(const QString&)> m_chosen;
};
