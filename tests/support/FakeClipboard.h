#pragma once
#include "tk2v/platform/Clipboard.h"

#include <string>

// Stands in for the system clipboard while it lives: the text is kept as the engine hands it over
// (UTF-8), and a clipboard that does not work fails both ways.
class FakeClipboard : public platform::ClipboardStore {
public:
    FakeClipboard() { platform::setClipboardStore(this); }
    ~FakeClipboard() override { platform::setClipboardStore(nullptr); }
    FakeClipboard(const FakeClipboard&) = delete;
    FakeClipboard& operator=(const FakeClipboard&) = delete;

    bool setText(const std::string& utf8) override {
        text = utf8;
        return works;
    }
    bool getText(std::string& utf8) override {
        utf8 = text;
        return works;
    }

    std::string text;
    bool works = true;
};
