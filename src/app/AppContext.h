#pragma once

#include "app/Log.h"
#include "app/Preferences.h"
#include "lang/Language.h"

#include <QString>

// The program-wide objects of the shell, made once at start-up and handed to the windows; no
// globals, so a test builds a fresh one.
struct AppContext {
    QString programFolder; // where the language files, Comps/ and OV.LOG live
    Preferences prefs;
    Language language;
    Log log;

    void WriteLog(const QString& text) const { log.Write(text); }
    QString Translate(const QString& key) const { return language.Translate(key); }
};
