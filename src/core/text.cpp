// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text.h"

namespace corvane {

Text upperCase(Text text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

Text trim(const Text& text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

QString toQt(const Text& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

Text fromQt(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return Text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace corvane
