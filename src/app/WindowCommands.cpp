#include "app/WindowCommands.h"

#include "app/CommandRegistry.h"
#include "app/MainForm.h"
#include "document/DocumentTable.h"

#include <QActionGroup>
#include <QMenu>

void RegisterWindowCommands(CommandRegistry& commands, TMainForm& form, DocumentTable& docs,
                            const QObject* context) {
    // One slot is current: an exclusive group, which menus mark with a radio dot.
    auto* slotGroup = new QActionGroup(&form);
    slotGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (int i = 0; i < DocumentTable::kSlotCount; ++i) {
        QAction* slot =
            commands.Register(QStringLiteral("N%1%2").arg(i + 1).arg(1), context, [&docs, i] {
                docs.SwitchToDocument(i);
                docs.UpdateFileLabel();
            });
        if (!slot) continue;
        slot->setCheckable(true);
        slotGroup->addAction(slot);
    }
    for (const auto& [name, step] : {std::pair{QStringLiteral("NextImage1"), +1},
                                     std::pair{QStringLiteral("PrevImage1"), -1}}) {
        commands.Register(name, context, [&docs, step = step] {
            if (step > 0 ? docs.NextImage() : docs.PrevImage()) docs.UpdateFileLabel();
        });
    }
    // Captions are rebuilt whenever the menu opens: names change as files are opened.
    if (QMenu* window = form.Menu(QStringLiteral("WindowMenu"))) {
        QObject::connect(window, &QMenu::aboutToShow, context, [&form, &docs] {
            const auto items = docs.WindowMenuItems();
            for (int i = 0; i < DocumentTable::kSlotCount; ++i)
                if (QAction* a = form.Action(QStringLiteral("N%1%2").arg(i + 1).arg(1))) {
                    a->setText(items[size_t(i)].caption);
                    a->setChecked(items[size_t(i)].checked);
                }
        });
    }
}
