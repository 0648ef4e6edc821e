#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What the arguments after the program name ask for.
struct CommandLine {
    bool logging = false;       // first argument "-l" / "-L" (the rest is ignored)
    bool invalidSwitch = false; // any other first argument starting with '-': "InvSwitch"
    // (also "-s" without width, height and target, or with sizes that are not decimal numbers)
    bool updateMode = false; // "-s<title> width height target..."
    QString updateTitle;
    int updateWidth = 0;
    int updateHeight = 0;
    QString updateTarget;
    // Image arguments joined with single blanks, double quotes removed; empty when none. In update
    // mode this is the target when the target exists (the caller checks existence, see Parse).
    QString imageName;

    // targetExists tells whether a file exists (update mode loads an existing target).
    static CommandLine Parse(const QStringList& args,
                             const std::function<bool(const QString&)>& targetExists);
};
