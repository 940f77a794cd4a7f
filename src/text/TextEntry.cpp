#include "text/TextEntry.h"

#include <algorithm>

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

int16_t Clamp16(int64_t v) {
    return int16_t(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}
}  // namespace

void SplitAt(char c, std::string_view source, std::string& head, std::string& tail) {
    const auto p = source.find(c);
    if (p == std::string_view::npos) {
        head.assign(source);
        tail.clear();
    } else {
        // source may alias head or tail: build both before assigning.
        std::string h(source.substr(0, p));
        std::string t(source.substr(p + 1));
        head = std::move(h);
        tail = std::move(t);
    }
}

std::string& TrimEntry(std::string& text) {
    if (text.empty()) return text;
    const auto semi = text.find(';');
    if (semi != std::string::npos) text.resize(semi);
    if (text.empty()) return text;
    while (text.size() >= 2 && IsBlank(text.back())) text.pop_back();
    if (text.empty()) return text;
    size_t lead = 0;
    while (lead < text.size() && IsBlank(text[lead])) ++lead;
    text.erase(0, lead);
    return text;
}

std::optional<int16_t> ParseStrictInt16(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool neg = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > 32768) return std::nullopt;
    }
    if (neg) v = -v;
    if (v < INT16_MIN || v > INT16_MAX) return std::nullopt;
    return int16_t(v);
}

int16_t ParseLenientInt16(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool neg = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
    int64_t v = 0;
    if (i < text.size() && text[i] == '$') {
        for (++i; i < text.size(); ++i) {
            const char c = text[i];
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                break;
            v = std::min<int64_t>(v * 16 + d, int64_t(1) << 20);
        }
    } else {
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            v = std::min<int64_t>(v * 10 + (text[i] - '0'), int64_t(1) << 20);
    }
    return Clamp16(neg ? -v : v);
}
