#pragma once

#include <QAction>
#include <QObject>
#include <QString>
#include <QStringList>

#include <utility>

// The menu commands by control name ("SavePicture", "Paint1", "N31"): each subsystem registers
// the commands it carries out, and a command is enabled exactly when someone registered it. The
// actions belong to owner directly (see BuildMainMenu); submenus are not commands.
class CommandRegistry {
public:
    // Disables every named action of owner: each waits for the module that carries it out.
    explicit CommandRegistry(QObject& owner);
    CommandRegistry(const CommandRegistry&) = delete;
    CommandRegistry& operator=(const CommandRegistry&) = delete;

    // Connects the action of name to handler (a callable taking nothing or the checked state; the
    // connection goes with context) and enables it. Returns the action, or nullptr when owner has
    // no action of that name or the name is registered already: the name then goes to Rejected(),
    // so that a misspelt command shows instead of silently doing nothing.
    template <typename Handler>
    QAction* Register(const QString& name, const QObject* context, Handler&& handler) {
        QAction* action = Claim(name);
        if (action)
            QObject::connect(action, &QAction::triggered, context, std::forward<Handler>(handler));
        return action;
    }

    bool IsRegistered(const QString& name) const { return names_.contains(name); }
    // In the order they were registered.
    const QStringList& Names() const { return names_; }
    const QStringList& Rejected() const { return rejected_; }

private:
    QAction* Claim(const QString& name);

    QObject& owner_;
    QStringList names_;
    QStringList rejected_;
};
