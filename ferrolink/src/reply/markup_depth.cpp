#include "reply/markup_depth.h"

#include <cstddef>

namespace HarborKestrel {
namespace {

constexpr std::size_t npos = std::string_view::npos;

bool StartsWith(std::string_view text, std::size_t i, std::string_view prefix) {
    return text.compare(i, prefix.size(), prefix) == 0;
}

bool StartsWithIgnoringCase(std::string_view text, std::size_t i, std::string_view prefix) {
    if (text.size() - i < prefix.size()) return false;
    for (std::size_t k = 0; k < prefix.size(); ++k) {
        char c = text[i + k];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != prefix[k]) return false;
    }
    return true;
}

// The parser takes "<" followed by a letter, "_" or any byte from 127 up as an element.
bool StartsElementName(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || byte == '_' ||
           byte >= 127;
}

bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

char LastNonWhiteSpace(std::string_view text, std::size_t nEnd, std::size_t nBegin) {
    while (nEnd > nBegin && IsWhiteSpace(text[nEnd - 1])) --nEnd;
    return nEnd > nBegin ? text[nEnd - 1] : '\0';
}

// A start tag from its "<" to its ">": quotes open values only right after "=", and a value
// ends at the same quote. npos when the tag is not one the parser would accept.
std::size_t EndOfStartTag(std::string_view text, std::size_t i) {
    for (std::size_t j = i + 1; j < text.size(); ++j) {
        const char c = text[j];
        if (c == '>') return j;
        if (c == '<') return npos;
        if (c == '"' || c == '\'') {
            if (LastNonWhiteSpace(text, j, i) != '=') return npos;
            j = text.find(c, j + 1);
            if (j == npos) return npos;
        }
    }
    return npos;
}

// A declaration may hold quoted values; it is followed only in the plain form
// name="value" with no white space or ">" inside a value, where the parser ends it at
// the first ">" too.
bool IsPlainDeclaration(std::string_view declaration) {
    for (std::size_t j = 0; j < declaration.size(); ++j) {
        const char c = declaration[j];
        if (c != '"' && c != '\'') continue;
        if (j == 0 || declaration[j - 1] != '=') return false;
        const std::size_t nClose = declaration.find(c, j + 1);
        if (nClose == npos) return false;
        for (std::size_t k = j + 1; k < nClose; ++k) {
            if (IsWhiteSpace(declaration[k])) return false;
        }
        j = nClose;
    }
    return true;
}

}  // namespace

bool MarkupNestsWithin(std::string_view markup, int nMaxDepth) {
    int nDepth = 0;
    std::size_t i = 0;
    while ((i = markup.find('<', i)) != npos) {
        std::size_t nEnd;
        if (StartsWith(markup, i, "<!--")) {
            nEnd = markup.find("-->", i + 4);
            if (nEnd == npos) return false;
            i = nEnd + 3;
        } else if (StartsWith(markup, i, "<![CDATA[")) {
            nEnd = markup.find("]]>", i + 9);
            if (nEnd == npos) return false;
            i = nEnd + 3;
        } else if (StartsWith(markup, i, "</") && nDepth > 0) {
            nEnd = markup.find('>', i);
            if (nEnd == npos) return false;
            --nDepth;
            i = nEnd + 1;
        } else if (i + 1 < markup.size() && StartsElementName(markup[i + 1])) {
            nEnd = EndOfStartTag(markup, i);
            if (nEnd == npos) return false;
            if (markup[nEnd - 1] != '/' && ++nDepth > nMaxDepth) return false;
            i = nEnd + 1;
        } else {
            // Declarations and any other markup (also an end tag outside every element) run to
            // the first ">".
            nEnd = markup.find('>', i);
            if (nEnd == npos) return false;
            if (StartsWithIgnoringCase(markup, i, "<?xml") &&
                !IsPlainDeclaration(markup.substr(i, nEnd - i))) {
                return false;
            }
            i = nEnd + 1;
        }
    }
    return true;
}

}  // namespace HarborKestrel
