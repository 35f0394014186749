// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings_file.h"

#include "core/text.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <map>

namespace corvane {
namespace {

// What a line's value does to the settings; returns the problem, or an empty text.
using Apply = std::function<QString(ProgramSettings&, const QString& value)>;

struct Setting {
    QString section;
    QString name;
};

// Levenshtein distance, for "did you mean" on a misspelt name.
int distance(const QString& a, const QString& b) {
    std::vector<int> row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

QString closest(const QString& word, const QStringList& known) {
    for (const QString& candidate : known)
        if (distance(word, candidate) <= 2)
            return QStringLiteral(" (did you mean \"%1\"?)").arg(candidate);
    return {};
}

class Parser {
  public:
    Parser(ProgramSettings& settings, const QString& file, const QString& iniFolder,
           const QString& home)
        : settings_(settings), file_(file), iniFolder_(iniFolder), home_(home) {
        add("library", "folder",
            [this](ProgramSettings& s, const QString& v) { return folder(v, s.libraryFolder); });
        add("library", "samples", [](ProgramSettings& s, const QString& v) {
            return choice(v, {"yes", "no", "true", "false", "1", "0"}, "yes or no",
                          [&](int i) { s.librarySamples = i % 2 == 0; });
        });
        add("results", "folder",
            [this](ProgramSettings& s, const QString& v) { return folder(v, s.resultsFolder); });
        add("display", "offer", [](ProgramSettings& s, const QString& v) {
            return choice(v, {"ask", "never"}, "ask or never", [&](int i) {
                s.displayOffer = i == 0 ? DisplayOffer::Ask : DisplayOffer::Never;
            });
        });
        add("speech", "enabled", [](ProgramSettings& s, const QString& v) {
            return choice(v, {"yes", "no", "true", "false", "1", "0", "on", "off"}, "yes or no",
                          [&](int i) { s.speechOn = i % 2 == 0; });
        });
        add("speech", "rate", [](ProgramSettings& s, const QString& v) {
            bool number = false;
            const int rate = v.toInt(&number);
            if (!number || rate < -10 || rate > 10)
                return QStringLiteral("must be a whole number from -10 (slow) to 10 (fast)");
            s.speechRate = rate;
            return QString();
        });
        add("speech", "voice", [](ProgramSettings& s, const QString& v) {
            s.speechVoice = v;
            return QString();
        });
        add("review", "password_sha256", [](ProgramSettings& s, const QString& v) {
            const QByteArray hex = v.toLatin1().toLower();
            const bool valid = v.size() == 64 && QByteArray::fromHex(hex).toHex() == hex;
            if (!valid && !v.isEmpty())
                return QStringLiteral("must be 64 hexadecimal digits, as corvane-maths(1) "
                                      "shows how to make");
            s.reviewPasswordSha256 = v.isEmpty() ? QByteArray() : hex;
            return QString();
        });
    }

    void line(int number, QString text) {
        text = text.trimmed();
        if (text.isEmpty() || text.startsWith(';') || text.startsWith('#')) return;
        if (text.startsWith('[')) return section(number, text);
        const qsizetype equals = text.indexOf('=');
        if (equals <= 0)
            return problem(number, QStringLiteral("\"%1\" is not a setting (write name=value "
                                                  "under a [section])")
                                       .arg(text));
        if (section_.isNull())
            return problem(number, QStringLiteral("\"%1\" comes before any [section]").arg(text));
        if (section_.isEmpty()) return; // under a section already reported
        const QString name = text.left(equals).trimmed().toLower();
        const auto found = applies_.find(section_ + '/' + name);
        if (found == applies_.end())
            return problem(number, QStringLiteral("\"%1\" is not a setting of [%2]%3")
                                       .arg(name, section_, closest(name, names(section_))));
        const auto [first, isNew] = seen_.emplace(found->first, number);
        if (!isNew)
            return problem(number, QStringLiteral("\"%1\" is set again (first on line %2)")
                                       .arg(name)
                                       .arg(first->second));
        const QString why = found->second(settings_, unquoted(text.mid(equals + 1).trimmed()));
        if (!why.isEmpty()) return problem(number, QStringLiteral("\"%1\" %2").arg(name, why));
        settings_.places[found->first] = {file_, number};
    }

    void problem(int number, const QString& text) {
        settings_.problems.push_back({number, text, file_, {}, section_});
    }

  private:
    void add(const char* section, const char* name, Apply apply) {
        applies_.emplace(QString::fromLatin1(section) + '/' + QString::fromLatin1(name),
                         std::move(apply));
    }

    QStringList names(const QString& section) const {
        QStringList found;
        for (const auto& [key, apply] : applies_)
            if (key.startsWith(section + '/')) found << key.mid(section.size() + 1);
        return found;
    }

    void section(int number, const QString& text) {
        const QString name = text.mid(1, text.size() - 2).trimmed().toLower();
        if (!text.endsWith(']') || names(name).isEmpty()) {
            section_ = QStringLiteral(""); // not null: its lines are skipped, not reported
            QStringList known;
            for (const auto& [key, apply] : applies_)
                if (!known.contains(key.section('/', 0, 0))) known << key.section('/', 0, 0);
            settings_.problems.push_back(
                {number,
                 QStringLiteral("%1 is not a section of this file (they are [%2])%3")
                     .arg(text, known.join(QStringLiteral("], [")), closest(name, known)),
                 file_, {}, name});
            return;
        }
        section_ = name;
    }

    static QString unquoted(const QString& value) {
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            return value.mid(1, value.size() - 2);
        return value;
    }

    static QString choice(const QString& value, const QStringList& allowed, const char* shown,
                          const std::function<void(int)>& set) {
        const qsizetype at = allowed.indexOf(value.toLower());
        if (at < 0) return QStringLiteral("must be %1, not \"%2\"").arg(shown, value);
        set(int(at));
        return {};
    }

    QString folder(const QString& value, QString& into) const {
        QString path = value;
        if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
            path = home_ + path.mid(1);
        else if (path.startsWith('~'))
            return QStringLiteral("is \"%1\": write the whole folder; ~ alone is the home folder")
                .arg(value);
        into = path.isEmpty() ? path : QDir::cleanPath(QDir(iniFolder_).absoluteFilePath(path));
        return {};
    }

    ProgramSettings& settings_;
    QString file_;
    QString iniFolder_;
    QString home_;
    QString section_; // null before the first section, empty under an unknown one
    std::map<QString, Apply> applies_;
    std::map<QString, int> seen_; // setting -> the line that set it
};

} // namespace

namespace {

void parseInto(ProgramSettings& settings, const QByteArray& bytes, const QString& file,
               const QString& iniFolder, const QString& home) {
    Parser parser(settings, file, iniFolder, home);
    QByteArray text = bytes;
    if (text.startsWith("\xEF\xBB\xBF")) text.remove(0, 3);
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = utf8(lines[i]);
        if (utf8.hasError())
            parser.problem(int(i + 1), QStringLiteral("is not UTF-8 text"));
        else
            parser.line(int(i + 1), line);
    }
}

} // namespace

ProgramSettings parseSettings(const QByteArray& bytes, const QString& iniFolder,
                              const QString& home) {
    ProgramSettings settings;
    parseInto(settings, bytes, QString(), iniFolder, home);
    return settings;
}

void readSettingsFile(ProgramSettings& settings, const QString& path, const QString& home) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        parseInto(settings, file.readAll(), path, QFileInfo(path).absolutePath(), home);
    else
        settings.problems.push_back(
            {0, QStringLiteral("cannot be read: %1").arg(file.errorString()), path, {}});
}

ProgramSettings readProgramSettings(const QString& programFolder, const QString& systemFile) {
    QString path = QDir(programFolder).filePath(QString::fromLatin1(kSettingsFileName));
    if (!QFileInfo::exists(path)) path = systemFile;
    ProgramSettings settings;
    if (QFileInfo::exists(path)) {
        settings.file = path;
        readSettingsFile(settings, path, QDir::homePath());
    }
    // The drop-ins, even without the main file; only visible files ending in .ini, so that
    // dpkg's copies (.dpkg-old, .dpkg-dist) and editors' backups are left alone.
    const QDir dropIns(QFileInfo(path).absoluteDir().filePath(QString::fromLatin1(kDropInFolder)));
    QStringList names = dropIns.entryList({QStringLiteral("*.ini")}, QDir::Files);
    std::sort(names.begin(), names.end());
    for (const QString& name : names) {
        const QString dropIn = dropIns.filePath(name);
        settings.dropIns << dropIn;
        readSettingsFile(settings, dropIn, QDir::homePath());
    }
    return settings;
}

ProgramSettings readToolSettings(const char* tool) {
    ProgramSettings settings = readProgramSettings(QCoreApplication::applicationDirPath());
    const QString problem = settingsProblemText(settings);
    if (!problem.isEmpty()) QTextStream(stderr) << tool << ": " << problem << "\n";
    return settings;
}

std::vector<QString> testFolders(const ProgramSettings& settings, const QString& programFolder) {
    const QString samples = QDir(programFolder).filePath(QStringLiteral("test"));
    if (settings.libraryFolder.isEmpty() ||
        QDir::cleanPath(settings.libraryFolder) == QDir::cleanPath(samples))
        return {samples};
    if (!settings.librarySamples) return {settings.libraryFolder};
    return {settings.libraryFolder, samples};
}

QString describeProblem(const ProgramSettings& settings, const SettingsProblem& problem) {
    const QString file = problem.file.isEmpty() ? settings.file : problem.file;
    const QString place =
        problem.line > 0 ? QStringLiteral("%1 line %2").arg(file).arg(problem.line) : file;
    if (!problem.key.isEmpty()) {
        if (file.isEmpty()) return problem.text + '.';
        return QStringLiteral("%1 (the setting %2, %3).").arg(problem.text, problem.key, place);
    }
    return QStringLiteral("%1: %2").arg(place, problem.text);
}

namespace {

// A problem under a section spelt like [results], or with a whole file, may be the results
// folder's line; a folder's problem names its setting.
bool hidesResultsFolder(const SettingsProblem& problem) {
    static const QString results = QStringLiteral("results");
    if (!problem.key.isEmpty()) return problem.key.startsWith(results + '/');
    return problem.line == 0 ||
           (!problem.section.isEmpty() && distance(problem.section, results) <= 2);
}

const SettingsProblem* resultsProblem(const ProgramSettings& settings) {
    const auto found =
        std::find_if(settings.problems.begin(), settings.problems.end(), hidesResultsFolder);
    return found == settings.problems.end() ? nullptr : &*found;
}

// "corvane-maths.ini line 2: TEXT (FILE)", a drop-in named by its own name.
QString problemText(const ProgramSettings& settings, const SettingsProblem& problem,
                    std::size_t others) {
    const QString file = problem.file.isEmpty() ? settings.file : problem.file;
    QString text = problem.file.isEmpty() ? QString::fromLatin1(kSettingsFileName)
                                          : QFileInfo(problem.file).fileName();
    text +=
        problem.line > 0 ? QStringLiteral(" line %1: ").arg(problem.line) : QStringLiteral(": ");
    text += problem.text;
    if (others > 0) text += QStringLiteral(" (and %1 more)").arg(others);
    return text + QStringLiteral(" (%1)").arg(file);
}

} // namespace

QString settingsProblemText(const ProgramSettings& settings) {
    if (settings.problems.empty()) return {};
    const SettingsProblem* results = resultsProblem(settings);
    QString text = problemText(settings, results ? *results : settings.problems.front(),
                               settings.problems.size() - 1);
    if (results)
        text.prepend(QStringLiteral("Results are kept on this computer until this is put right: "));
    else if (settings.resultsFolder.isEmpty())
        text.prepend(QStringLiteral("The class record is off: "));
    return text;
}

QString resultsSettingProblem(const ProgramSettings& settings) {
    const SettingsProblem* results = resultsProblem(settings);
    return results ? problemText(settings, *results, 0) : QString();
}

bool reviewPasswordAccepted(const ProgramSettings& settings, const std::string& typed) {
    const std::string word = upperCase(typed);
    if (settings.reviewPasswordSha256.isEmpty()) return word == "MARBLETS";
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(word), QCryptographicHash::Sha256);
    return hash.toHex() == settings.reviewPasswordSha256;
}

} // namespace corvane
