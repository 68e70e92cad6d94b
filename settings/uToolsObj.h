#pragma once
// Static helpers the whole program uses: the settings file, the start-at-login store, the
// executable's location, the question box, and the text codec of the model objects.
#include <memory>
#include <string>

#include "platform/Registry.h"
#include "platform/Types.h"
#include "settings/uStrList.h"

class TTools {
public:
    // The first value when flag is true, else the second (both already computed by the caller).
    template <typename T>
    static T IIF(bool flag, const T& first, const T& second) {
        return flag ? first : second;
    }
    static AnsiString IIF(bool flag, const char* first, const char* second) { return flag ? first : second; }

    // Creates the directory (one level) when it does not exist. Raises EInOutError on failure.
    static void ForceDir(const std::string& dir);
    // The executable's directory, ending with a path separator.
    static std::string GetAppPath();
    // The executable's full path.
    static std::string GetExeName();
    // The settings file: <app path>Ini<sep>Tovik.ini.
    static std::string IniFileName();
    // OK/Cancel question with the caption "系统提示"; 1 for OK, 2 otherwise.
    static int Confirm(const AnsiString& question);

    // The most bytes a value of the settings file keeps (a longer one is cut when read), and so the most
    // characters a text box of the settings may hold; the dialog's save keeps the whole characters that
    // fit in IniValueMax bytes (a GBK character takes one or two).
    static constexpr int IniValueMax = 2047;
    static constexpr int IniTextMaxChars = IniValueMax;

    // One value of the settings file (at most IniValueMax bytes), or the default. Never creates anything.
    static AnsiString ReadIni(const AnsiString& section, const AnsiString& key,
                              const AnsiString& defaultValue);
    // Makes sure the Ini folder exists, then writes the value. Raises on failure.
    static void WriteIni(const AnsiString& section, const AnsiString& key, const AnsiString& value);

    // Start-at-login store. Read gives empty text when the key or value is missing; a non-string
    // value raises ERegistryException "Invalid data type for '<name>'".
    static AnsiString RegReadString(plat::RegRoot root, const AnsiString& keyPath, const AnsiString& name);
    // Raises ERegistryException "Failed to set data for '<name>'" when the value cannot be stored.
    static void RegWriteString(plat::RegRoot root, const AnsiString& keyPath, const AnsiString& name,
                               const AnsiString& value);
    // Deletes the value when the key can be opened; does nothing otherwise.
    static void RegDelete(plat::RegRoot root, const AnsiString& keyPath, const AnsiString& name);
};

// The one-line text form of a name=value list: {"name" : "value" , ...}, nothing escaped.
class TJSon {
public:
    static AnsiString ListToJson(const TStringList& list);
    // Never fails: whatever cannot be read is dropped.
    static std::unique_ptr<TStringList> JsonToList(const AnsiString& text);
};
