#pragma once

#include <QString>
#include <QStringList>

// Links image file types to this program on the XDG side: the program becomes the default
// application of each MIME type of a linked extension in $XDG_CONFIG_HOME/mimeapps.list, and the
// previous default is kept (in our settings, group "OrvelPaint", one value per extension and MIME
// type: "<ext>/<type>" = the previous line, empty when there was none) so that
// unlinking restores it. Failures are swallowed.
class FileLinks {
public:
    // desktopId: our .desktop entry, "orvelpaint.desktop".
    explicit FileLinks(QString configHome = {},
                       QString desktopId = QStringLiteral("orvelpaint.desktop"));

    bool IsLinked(const QString& extension) const; // ".png", any case
    void Link(const QString& extension);
    void Unlink(const QString& extension);

    enum class State { None, All, Some };
    // extensions: a format's pattern list such as "*.jpg;*.jpeg".
    State StateOf(const QString& patterns) const;
    void LinkAll(const QString& patterns);
    void UnlinkAll(const QString& patterns);

    QString MimeAppsPath() const;

private:
    QString configHome_;
    QString desktopId_;
};
