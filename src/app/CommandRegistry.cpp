#include "app/CommandRegistry.h"

#include <QtGlobal>

CommandRegistry::CommandRegistry(QObject& owner) : owner_(owner) {
    for (QAction* a : owner.findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly))
        if (!a->objectName().isEmpty()) a->setEnabled(false);
}

QAction* CommandRegistry::Claim(const QString& name) {
    QAction* action = name.isEmpty() || names_.contains(name)
                          ? nullptr
                          : owner_.findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
    if (!action) {
        qWarning("Command %s not registered: no such action, or registered twice",
                 qPrintable(name));
        rejected_ << name;
        return nullptr;
    }
    names_ << name;
    action->setEnabled(true);
    return action;
}
