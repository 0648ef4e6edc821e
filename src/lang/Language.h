#pragma once

// The current language: its expanded text lives in a scratch file that every lookup reads anew.

#include "lang/LngDecoder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// A message for the shell to show by key (text key, title key), with the warning style.
struct LanguageMessage {
    QString textKey;
    QString titleKey;
    friend bool operator==(const LanguageMessage&, const LanguageMessage&) = default;
};

class Language {
public:
    Language() = default;
    ~Language(); // deletes the scratch file
    Language(const Language&) = delete;
    Language& operator=(const Language&) = delete;

    // Expands programFolder/name.lng into a new scratch file, then drops the current language for
    // it. The scratch file is named OVLNG... in programFolder (in the temporary folder when
    // programFolder is not writable). The file stays locked while loaded; unlocked ones, left by a
    // program that was killed, are removed first. Returns the message to show on failure, after
    // which no language is loaded. A damaged file is not a failure: what could be decoded is used
    // (see DecodeStatus()).
    std::optional<LanguageMessage> Load(const QString& programFolder, const QString& name);
    void Unload();

    // A language file expanded into its locked scratch file but not yet loaded: made on any
    // thread (start-up expands it while the window is built), then loaded or dropped. Dropped, its
    // scratch file goes.
    class Expanded {
    public:
        Expanded() = default;
        ~Expanded();
        Expanded(Expanded&& other) noexcept;
        Expanded& operator=(Expanded&& other) noexcept;
        static Expanded Make(const QString& programFolder, const QString& name);
        QString Name() const { return name_; }

    private:
        friend class Language;
        void Drop();
        QString name_;
        std::optional<LanguageMessage> failure_;
        QString path_;
        int lock_ = -1;
        qint64 messagesPos_ = 0;
        LngStatus status_ = LngStatus::Ok;
    };
    // Load with the expanding done already; the same outcome as Load of its folder and name.
    std::optional<LanguageMessage> Load(Expanded expanded);

    bool Loaded() const { return !scratchPath_.isEmpty(); }
    QString Name() const { return name_; }
    QString ScratchPath() const { return scratchPath_; }
    // Byte offset just after the "[Messages]" line, or the text's length when there is none.
    qint64 MessagesPos() const { return messagesPos_; }
    LngStatus DecodeStatus() const { return decodeStatus_; }

    // The text of the message key, or the key itself.
    QString Translate(const QString& key) const;

    // While one lives, this thread's lookups in the language loaded now read its messages once
    // instead of at every call: start-up makes dozens in a row. A language loaded meanwhile, or
    // another thread, is read anew as always.
    class Held {
    public:
        explicit Held(const Language& language);
        ~Held();
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;

    private:
        friend class Language;
        const Language& language_;
        quint64 loaded_; // the language's loads so far
        QByteArray messages_;
        Held* outer_;
    };
    // Translate("~" + name) less a leading "~" that is still there.
    QString TranslateName(const QString& name) const;
    // The whole scratch text, read anew; nothing when no language is loaded or it is unreadable.
    std::optional<QByteArray> ReadText() const;

    // programFolder/name.lng; when no file has exactly that name, one whose name differs only in
    // case (the language list shows names capitalised).
    static QString FilePath(const QString& programFolder, const QString& name);
    static bool FileReadable(const QString& programFolder, const QString& name);
    // The "*.lng" files of the folder: name without extension, first letter upper case, the rest
    // lower case, sorted, without repeats.
    static QStringList List(const QString& programFolder);

    // Only this much of a language file is read; the rest counts as missing.
    static constexpr qint64 kMaxFileBytes = 16 << 20;

private:
    // The scratch text from just after "[Messages]", read anew.
    std::optional<QByteArray> ReadMessages() const;

    QString name_;
    QString scratchPath_;
    int scratchLock_ = -1;
    qint64 messagesPos_ = 0;
    LngStatus decodeStatus_ = LngStatus::Ok;
    quint64 loads_ = 0; // counted at every Unload, so a Held knows its language is gone
};
