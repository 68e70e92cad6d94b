#pragma once
// An in-memory start-at-login store that tests install in place of the platform's own. It records
// every call and can be told to refuse opening keys or storing values.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

class FakeRegistry : public plat::Registry {
public:
    FakeRegistry() { plat::SetRegistry(this); }
    ~FakeRegistry() override { plat::SetRegistry(nullptr); }
    FakeRegistry(const FakeRegistry&) = delete;
    FakeRegistry& operator=(const FakeRegistry&) = delete;

    bool OpenKey(plat::RegRoot, const AnsiString& keyPath, bool create) override {
        calls.push_back(std::string(create ? "create " : "open ") + keyPath);
        if (refuseOpen) return false;
        if (create) keys[keyPath];
        return keys.count(keyPath) > 0;
    }
    plat::RegistryValue ReadValue(plat::RegRoot, const AnsiString& keyPath, const AnsiString& name) override {
        calls.push_back("read " + name);
        auto key = keys.find(keyPath);
        if (key == keys.end()) return {};
        auto value = key->second.find(name);
        return value == key->second.end() ? plat::RegistryValue{} : value->second;
    }
    bool WriteString(plat::RegRoot, const AnsiString& keyPath, const AnsiString& name,
                     const AnsiString& data) override {
        calls.push_back("write " + name);
        if (refuseWrite) return false;
        keys[keyPath][name] = {true, true, data};
        return true;
    }
    void DeleteValue(plat::RegRoot, const AnsiString& keyPath, const AnsiString& name) override {
        calls.push_back("delete " + name);
        keys[keyPath].erase(name);
    }

    void Put(const AnsiString& keyPath, const AnsiString& name, plat::RegistryValue value) {
        keys[keyPath][name] = std::move(value);
    }

    bool refuseOpen = false;
    bool refuseWrite = false;
    std::map<AnsiString, std::map<AnsiString, plat::RegistryValue>> keys;
    std::vector<std::string> calls;
};
