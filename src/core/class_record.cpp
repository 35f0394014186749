// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/class_record.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>

#include <cstdlib>

namespace corvane {
namespace {

constexpr qsizetype kMaxNamePart = 40;

QByteArray utf8(const Text& text) {
    return formulaGuarded(toQt(text).toUtf8());
}

// Leading quotes are passed over: "'=1" must read back as itself, not as "=1".
bool needsGuard(QByteArrayView text) {
    qsizetype first = 0;
    while (first < text.size() && text[first] == '\'')
        ++first;
    return first < text.size() && QByteArrayView("=+-@\t\r").contains(text[first]);
}

QByteArray csvLine(const std::vector<QByteArray>& fields) {
    QByteArray line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        line += csvField(fields[i]);
    }
    return line + "\r\n";
}

bool isSafe(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == ' ' ||
           u == '.' || u == '-';
}

QString trimDotsAndSpaces(const QString& text) {
    qsizetype first = 0, last = text.size();
    auto dropped = [](QChar c) { return c == u'.' || c == u' '; };
    while (first < last && dropped(text[first]))
        ++first;
    while (last > first && dropped(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

// "_" + 8 lowercase hex digits + ".csv"
QString uniquePart(std::uint32_t unique) {
    return u'_' + QStringLiteral("%1").arg(unique, 8, 16, QLatin1Char('0')) +
           QStringLiteral(".csv");
}

} // namespace

QByteArray checksumHex(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray fileChecksum(const std::string& path) {
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError) return {};
    return hash.result().toHex();
}

QByteArray formulaGuarded(const QByteArray& utf8) {
    return needsGuard(utf8) ? '\'' + utf8 : utf8;
}

QByteArray formulaUnguarded(const QByteArray& field) {
    return field.startsWith('\'') && needsGuard(QByteArrayView(field).sliced(1)) ? field.mid(1)
                                                                                 : field;
}

QString isoWithOffset(const QDateTime& time) {
    const int offset = time.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + (offset < 0 ? u'-' : u'+') +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QByteArray csvField(const QByteArray& utf8) {
    if (!utf8.contains(',') && !utf8.contains('"') && !utf8.contains('\r') && !utf8.contains('\n'))
        return utf8;
    QByteArray quoted = utf8;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

QByteArray recordCsv(const ClassRecord& record) {
    std::vector<QByteArray> header = {"Finished",      "Computer", "Pupil",    "Test",
                                      "Test checksum", "Score",    "Questions"};
    std::vector<QByteArray> data = {isoWithOffset(record.finished).toUtf8(),
                                    formulaGuarded(record.computer.toUtf8()),
                                    utf8(record.pupil),
                                    utf8(record.test),
                                    record.testChecksum,
                                    QByteArray::number(record.score),
                                    QByteArray::number(qsizetype(record.rows.size()))};
    for (const ReportRow& row : record.rows) {
        const QByteArray q = 'Q' + QByteArray::number(row.number);
        header.push_back(q + " verdict");
        header.push_back(q + " answer");
        data.push_back(QByteArray::fromStdString(verdictText(row.right)));
        data.push_back(utf8(row.answer));
    }
    return csvLine(header) + csvLine(data);
}

QString safeNamePart(const QString& text) {
    QString safe;
    for (const QChar c : text) {
        const QChar kept = isSafe(c) ? c : QChar(u'-');
        if (kept == u'-' && safe.endsWith(u'-')) continue;
        safe += kept;
    }
    safe = trimDotsAndSpaces(trimDotsAndSpaces(safe).left(kMaxNamePart));
    return safe.isEmpty() ? QStringLiteral("-") : safe;
}

QString recordFileName(const ClassRecord& record, std::uint32_t unique) {
    return record.finished.toString(QStringLiteral("yyyyMMdd-HHmmss")) + u'_' +
           safeNamePart(record.computer) + u'_' + safeNamePart(toQt(record.pupil)) + u'_' +
           safeNamePart(toQt(record.test)) + uniquePart(unique);
}

QString withUniquePart(const QString& fileName, std::uint32_t unique) {
    static const QRegularExpression tail(QStringLiteral("(_[0-9a-f]{8})?\\.csv$"));
    return QString(fileName).remove(tail) + uniquePart(unique);
}

QString temporaryName(const QString& fileName) {
    return u'.' + fileName + QStringLiteral(".tmp");
}

} // namespace corvane
