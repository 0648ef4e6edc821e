#include "app/CommandLine.h"

namespace {

// Arguments from first on, as the shell split one file name: put back with single blanks, and
// quotes anywhere in it dropped.
QString JoinName(const QStringList& args, qsizetype first) {
    QString name = args.mid(first).join(QLatin1Char(' '));
    name.remove(QLatin1Char('"'));
    return name;
}

bool ParseSize(const QString& text, int& out) {
    bool ok = false;
    out = text.toInt(&ok, 10);
    return ok;
}

} // namespace

CommandLine CommandLine::Parse(const QStringList& args,
                               const std::function<bool(const QString&)>& targetExists) {
    CommandLine cl;
    if (args.isEmpty()) return cl;
    const QString& first = args.first();

    if (!first.startsWith(QLatin1Char('-'))) {
        cl.imageName = JoinName(args, 0);
        return cl;
    }
    if (first == QLatin1String("-l") || first == QLatin1String("-L")) {
        cl.logging = true;
        return cl;
    }
    if (first.startsWith(QLatin1String("-s")) || first.startsWith(QLatin1String("-S"))) {
        // Too few arguments or sizes that are not numbers would leave update mode without a
        // target or a size; such a line is refused like an unknown switch.
        int width = 0;
        int height = 0;
        QString title = first.mid(2);
        qsizetype at = 1; // the width's argument
        // "-s Title w h target" is taken as well as "-sTitle w h target".
        if (title.isEmpty() && args.size() >= 5 && !ParseSize(args[1], width) &&
            ParseSize(args[2], width) && ParseSize(args[3], height)) {
            title = args[1];
            at = 2;
        }
        if (args.size() < at + 3 || !ParseSize(args[at], width) ||
            !ParseSize(args[at + 1], height)) {
            cl.invalidSwitch = true;
            return cl;
        }
        cl.updateMode = true;
        cl.updateTitle = title;
        cl.updateWidth = width;
        cl.updateHeight = height;
        cl.updateTarget = args.mid(at + 2).join(QLatin1Char(' '));
        if (targetExists && targetExists(cl.updateTarget)) cl.imageName = JoinName(args, at + 2);
        return cl;
    }
    cl.invalidSwitch = true;
    return cl;
}
