#pragma once

class CommandRegistry;
class DocumentTable;
class QObject;
class TMainForm;

// The Window menu: one item per document slot (N11 .. N101, one of them ticked), Next Image and
// Prev Image. The slot captions are rebuilt whenever the menu opens. The connections go with
// context.
void RegisterWindowCommands(CommandRegistry& commands, TMainForm& form, DocumentTable& docs,
                            const QObject* context);
