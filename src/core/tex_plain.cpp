// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/tex_plain.h"

#include <QHash>

namespace corvane {

namespace {

// Commands that stand for one sign.
const QHash<QString, QString>& signs() {
    static const QHash<QString, QString> table{
        {QStringLiteral("times"), QStringLiteral("×")},
        {QStringLiteral("div"), QStringLiteral("÷")},
        {QStringLiteral("cdot"), QStringLiteral("·")},
        {QStringLiteral("pm"), QStringLiteral("±")},
        {QStringLiteral("le"), QStringLiteral("≤")},
        {QStringLiteral("leq"), QStringLiteral("≤")},
        {QStringLiteral("ge"), QStringLiteral("≥")},
        {QStringLiteral("geq"), QStringLiteral("≥")},
        {QStringLiteral("ne"), QStringLiteral("≠")},
        {QStringLiteral("neq"), QStringLiteral("≠")},
        {QStringLiteral("approx"), QStringLiteral("≈")},
        {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},
        {QStringLiteral("circ"), QStringLiteral("°")},
        {QStringLiteral("degree"), QStringLiteral("°")},
        {QStringLiteral("pi"), QStringLiteral("π")},
        {QStringLiteral("infty"), QStringLiteral("∞")},
        {QStringLiteral("dots"), QStringLiteral("…")},
        {QStringLiteral("ldots"), QStringLiteral("…")},
        {QStringLiteral("pounds"), QStringLiteral("£")},
        {QStringLiteral("quad"), QStringLiteral(" ")},
        {QStringLiteral("qquad"), QStringLiteral(" ")},
        {QStringLiteral(","), QStringLiteral(" ")},
        {QStringLiteral(";"), QStringLiteral(" ")},
        {QStringLiteral(":"), QStringLiteral(" ")},
        {QStringLiteral(" "), QStringLiteral(" ")},
        {QStringLiteral("!"), QString()},
        {QStringLiteral("left"), QString()},
        {QStringLiteral("right"), QString()},
        {QStringLiteral("displaystyle"), QString()},
    };
    return table;
}

// Commands whose one argument is shown as it is: words and units in formulas, bold, boxes.
bool showsItsArgument(const QString& name) {
    static const QStringList kinds{QStringLiteral("text"),   QStringLiteral("textrm"),
                                   QStringLiteral("mathrm"), QStringLiteral("textbf"),
                                   QStringLiteral("mathbf"), QStringLiteral("textit"),
                                   QStringLiteral("mathit"), QStringLiteral("operatorname"),
                                   QStringLiteral("boxed"),  QStringLiteral("mbox")};
    return kinds.contains(name);
}

bool isFraction(const QString& name) {
    return name == QLatin1String("frac") || name == QLatin1String("dfrac") ||
           name == QLatin1String("tfrac");
}

// A number or a single word needs no brackets around it in "a/b", "√a" or "a^b".
bool isSimple(const QString& part) {
    return !part.isEmpty() && std::all_of(part.begin(), part.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char(',');
    });
}

QString bracketed(const QString& part) {
    return isSimple(part) ? part : QLatin1Char('(') + part + QLatin1Char(')');
}

QString raised(const QString& power) {
    static const QString kDigits = QStringLiteral("⁰¹²³⁴⁵⁶⁷⁸⁹");
    if (power == QStringLiteral("°")) return power;
    QString out;
    for (const QChar c : power) {
        if (c.isDigit() && c.unicode() < 128)
            out += kDigits[c.unicode() - '0'];
        else if (c == QLatin1Char('-') && out.isEmpty())
            out += QStringLiteral("⁻");
        else
            return QLatin1Char('^') + bracketed(power);
    }
    return out.isEmpty() ? QString() : out;
}

class TexReader {
  public:
    explicit TexReader(const QString& tex) : tex_(tex) {}

    // The plain text up to `close` (a closing brace) or the end.
    QString sequence(QChar close = QChar()) {
        QString out;
        while (at_ < tex_.size() && tex_[at_] != close) {
            const QChar c = tex_[at_];
            if (c == QLatin1Char('^')) {
                ++at_;
                out += raised(argument());
            } else if (c == QLatin1Char('_')) {
                ++at_;
                out += QLatin1Char('_') + bracketed(argument());
            } else if (c == QLatin1Char('\\') && isFraction(peekName())) {
                const QString fraction = command();
                // A whole number before a fraction makes a mixed number: "3 1/4".
                if (!out.isEmpty() && out.back().isDigit()) out += QLatin1Char(' ');
                out += fraction;
            } else if (c == QLatin1Char('{') || c == QLatin1Char('\\')) {
                out += argument();
            } else {
                out += c == QLatin1Char('~') ? QChar(QLatin1Char(' ')) : c;
                ++at_;
            }
        }
        return out;
    }

  private:
    // One argument: a {group}, a command or a single character.
    QString argument() {
        while (at_ < tex_.size() && tex_[at_].isSpace())
            ++at_;
        if (at_ >= tex_.size()) return {};
        const QChar c = tex_[at_];
        if (c == QLatin1Char('{')) {
            ++at_;
            const QString inside = sequence(QLatin1Char('}'));
            ++at_;
            return inside.trimmed();
        }
        if (c == QLatin1Char('\\')) return command();
        ++at_;
        return c;
    }

    // The command name at the reader's place (after its backslash), without taking it.
    QString peekName() const {
        qsizetype end = at_ + 1;
        while (end < tex_.size() && tex_[end].isLetter() && tex_[end].unicode() < 128)
            ++end;
        if (end == at_ + 1 && end < tex_.size()) ++end;
        return tex_.mid(at_ + 1, end - at_ - 1);
    }

    QString command() {
        const QString name = peekName();
        at_ += 1 + name.size();
        if (isFraction(name)) {
            const QString top = argument();
            return bracketed(top) + QLatin1Char('/') + bracketed(argument());
        }
        if (name == QLatin1String("sqrt")) {
            QString index;
            if (at_ < tex_.size() && tex_[at_] == QLatin1Char('[')) {
                const qsizetype close = tex_.indexOf(QLatin1Char(']'), at_);
                index = tex_.mid(at_ + 1, close - at_ - 1).trimmed();
                at_ = close < 0 ? tex_.size() : close + 1;
            }
            const QString root = index == QLatin1String("3")   ? QStringLiteral("∛")
                                 : index == QLatin1String("4") ? QStringLiteral("∜")
                                                               : index + QStringLiteral("√");
            return root + bracketed(argument());
        }
        if (showsItsArgument(name)) return argument();
        if (const auto sign = signs().constFind(name); sign != signs().constEnd()) return *sign;
        // An escaped sign (\% \$ \{) is the sign; another command reads as its name.
        return name;
    }

    const QString& tex_;
    qsizetype at_ = 0;
};

} // namespace

QString texAsPlain(const QString& tex) {
    return TexReader(tex).sequence().simplified();
}

} // namespace corvane
