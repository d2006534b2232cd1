#pragma once
#include "tk2v/util/log.h"

#include <cstdlib>
#include <cxxabi.h>
#include <string>
#include <typeinfo>

// "aSingleton<class Name>::" as the log names it.
template <typename T> std::string aSingleton_prefix() {
    int status = 0;
    char* demangled = abi::__cxa_demangle(typeid(T).name(), nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : typeid(T).name();
    std::free(demangled);
    return "aSingleton<class " + name + ">::";
}

template <typename T> class aSingleton {
public:
    // The instance is kept as its base here: while this constructor runs, the object is not yet a T.
    aSingleton() { ms_Singleton = this; }

    ~aSingleton() {
        if (!ms_Singleton)
            log("%s: %s %s", (aSingleton_prefix<T>() + "~aSingleton").c_str(), "ms_Singleton",
                a_fileLine(__FILE__, 38));
        ms_Singleton = nullptr;
    }

    static T* getSingleton() {
        if (!ms_Singleton)
            log("%s: %s %s", (aSingleton_prefix<T>() + "getSingleton").c_str(), "ms_Singleton",
                a_fileLine(__FILE__, 40));
        return static_cast<T*>(ms_Singleton);
    }

    // Whether the instance exists, without the log line a missing one gives getSingleton.
    static bool exists() { return ms_Singleton != nullptr; }

    aSingleton(const aSingleton&) = delete;
    aSingleton& operator=(const aSingleton&) = delete;

protected:
    static inline aSingleton* ms_Singleton = nullptr;
};
