#include "app/HelpKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

HelpKey::HelpKey(QWidget* mainWindow, std::function<void(int)> show, QObject* parent)
    : QObject(parent), mainWindow_(mainWindow), show_(std::move(show)) {}

int HelpKey::ContextFor(const QWidget* window) const {
    for (const QWidget* w = window; w; w = w->parentWidget()) {
        bool ok = false;
        const int context = w->property("helpContext").toInt(&ok);
        if (ok && context > 0) return context;
    }
    bool ok = false;
    const int context = mainWindow_ ? mainWindow_->property("helpContext").toInt(&ok) : 0;
    return ok ? context : 0;
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
    const QWidget* window = static_cast<QWidget*>(watched)->window();
    if (window->property("ownsHelpKey").toBool()) return false;
    if (!key->isAutoRepeat() && show_) show_(ContextFor(window));
    return true;
}
