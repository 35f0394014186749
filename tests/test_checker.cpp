// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/app_error.h"
#include "core/marking_rules.h"
#include "core/reader.h"
#include "support/test_files.h"
#include "tools/check/content_checks.h"
#include "tools/check/dump.h"
#include "tools/check/library_checks.h"
#include "tools/check/line_cursor.h"
#include "tools/check/mark.h"
#include "tools/check/reachable.h"
#include "tools/check/scanner.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <filesystem>
#include <fstream>

using namespace corvane;
using namespace corvane::check;
using corvane::testing::crlfLines;
using corvane::testing::writeFile;

Q_DECLARE_METATYPE(corvane::check::FindingKind)
Q_DECLARE_METATYPE(corvane::check::Severity)

namespace {

const QString kFixtures = QStringLiteral(CORVANE_CHECKER_FIXTURES);

QByteArray fixture(const QString& name) {
    QFile file(kFixtures + QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly)) qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

std::string_view view(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// One question whose type line is `typeLine`: a KWORD block in every other respect.
QByteArray oneWordQuestion(const QString& typeLine) {
    return crlfLines({"1", typeLine, "comment", "0", "0", "0", "0", "0", "0", "TEN", "---"});
}

QStringList verdictsFor(const QString& answers) {
    QuestionStore store;
    readTestFile((kFixtures + QStringLiteral("/ok.txt")).toStdString(), store);
    const QString problem = enterAnswers(store, answers.split(QLatin1Char('|')));
    if (!problem.isEmpty()) return {problem};
    const MarkReport report = markStore(store);
    return report.verdicts + QStringList{report.scoreLine};
}

// Every text over `alphabet` of length 0 to `maxLength`.
std::vector<Text> allTexts(const Text& alphabet, int maxLength) {
    std::vector<Text> texts{Text()};
    for (std::size_t from = 0; from < texts.size(); ++from)
        if (static_cast<int>(texts[from].size()) < maxLength)
            for (char c : alphabet)
                texts.push_back(texts[from] + c);
    return texts;
}

// Writes `bytes` to the file at `path`, a name in any bytes, making its folder; gives the path.
NativePath writeNative(const NativePath& path, const QByteArray& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
    return path;
}

} // namespace

class TestChecker : public QObject {
    Q_OBJECT

  private slots:
    void brokenFixtures_data();
    void brokenFixtures();
    void cleanTestHasNoFindings();
    void typeLines_data();
    void typeLines();
    void scannerReadsAsTheReader();
    void pagesAndNames();
    void checksLatin1Names();
    void dumpOfWorkedExample();
    void jsonEscapes_data();
    void jsonEscapes();
    void markWorkedExample_data();
    void markWorkedExample();
    void stored_data();
    void stored();
    void everyFormIsReachable();
    void exitStatus_data();
    void exitStatus();

  private:
    QTemporaryDir library_;
};

void TestChecker::brokenFixtures_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<FindingKind>("kind");
    QTest::addColumn<Severity>("severity");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("question");
    QTest::addColumn<int>("findings");
    using K = FindingKind;
    const Severity e = Severity::Error;
    const Severity w = Severity::Warning;
    auto row = [](const char* file, K kind, Severity severity, int line, int question,
                  int findings = 1) {
        QTest::addRow("%s", file) << QString::fromLatin1(file) + ".txt" << kind << severity << line
                                  << question << findings;
    };
    row("byte_order_mark", K::ByteOrderMark, e, 1, 0);
    row("lf_line_ends", K::LineEnds, w, 1, 0);
    row("no_questions", K::NoQuestions, e, 1, 0);
    row("count_above_30", K::CountAbove30, e, 1, 0);
    row("bad_number", K::LoadFailure, e, 4, 1);
    row("ends_early", K::EndsEarly, e, 12, 2);
    row("trailing_lines", K::TrailingLines, w, 12, 0);
    row("missing_closing", K::OutOfStep, e, 11, 1);
    // The shifted lines also break the load, which is reported too.
    row("extra_line", K::OutOfStep, e, 12, 2, 2);
    row("type_blanks", K::TypeBlanks, e, 2, 1);
    row("type_typo", K::TypeTypo, e, 2, 1);
    row("type_unknown", K::TypeUnknown, e, 2, 1);
    row("option_count_choice", K::OptionCount, e, 4, 1);
    row("option_count_yesno", K::OptionCount, e, 4, 1);
    row("key_not_zero_or_one", K::KeyNotZeroOrOne, e, 6, 1);
    row("no_right_option", K::NoRightOption, e, 5, 1);
    row("several_right_options", K::SeveralRightOptions, w, 5, 1);
    row("order_key", K::OrderKey, e, 6, 1);
    row("fixed_item_pos", K::FixedItemPos, w, 16, 1);
    row("empty_label", K::EmptyLabel, w, 12, 1);
    row("currency_unreachable", K::AnswerUnreachable, e, 10, 1);
    row("pair_unreachable", K::AnswerUnreachable, e, 10, 1);
    row("alternative_unreachable", K::AnswerUnreachable, e, 13, 1);
    row("no_alternatives", K::NoAlternatives, e, 11, 1);
    row("alt_count_above_10", K::AltCountAbove10, e, 11, 1);
    row("comma_one_character", K::CommaMatchesAnything, e, 10, 1);
    row("empty_answer", K::EmptyAnswer, w, 10, 1);
}

void TestChecker::brokenFixtures() {
    QFETCH(QString, file);
    QFETCH(FindingKind, kind);
    QFETCH(Severity, severity);
    QFETCH(int, line);
    QFETCH(int, question);
    QFETCH(int, findings);
    const QByteArray bytes = fixture(file);
    const Findings found = checkContent(view(bytes));
    QCOMPARE(static_cast<int>(found.size()), findings);
    const Finding& first = found.front();
    QCOMPARE(first.kind, kind);
    QCOMPARE(first.severity, severity);
    QCOMPARE(first.line, line);
    QCOMPARE(first.question, question);
    QVERIFY(!first.explanation.isEmpty());
    QCOMPARE(hasErrors(found), severity == Severity::Error || findings > 1);
}

void TestChecker::cleanTestHasNoFindings() {
    const QByteArray bytes = fixture(QStringLiteral("ok.txt"));
    QVERIFY(checkContent(view(bytes)).empty());
    // Saved with bare carriage returns the same test only earns the line-end warning.
    QByteArray carriageReturns = bytes;
    carriageReturns.replace("\r\n", "\r");
    const Findings found = checkContent(view(carriageReturns));
    QCOMPARE(found.size(), std::size_t(1));
    QCOMPARE(found.front().kind, FindingKind::LineEnds);
    QVERIFY(!hasErrors(found));
}

void TestChecker::typeLines_data() {
    QTest::addColumn<QString>("typeLine");
    QTest::addColumn<int>("kind"); // -1: no finding
    QTest::addColumn<QString>("fix");
    const int none = -1;
    QTest::addRow("lower case is fixed by the reader") << "kword" << none << "";
    QTest::addRow("mixed case") << "KWord" << none << "";
    QTest::addRow("blank in front") << " KWORD" << int(FindingKind::TypeBlanks) << "KWORD";
    QTest::addRow("tab behind, lower case") << "kword\t" << int(FindingKind::TypeBlanks) << "KWORD";
    QTest::addRow("one letter missing") << "KTIM" << int(FindingKind::TypeTypo) << "KTIME";
    QTest::addRow("one letter extra") << "KORDERS" << int(FindingKind::TypeTypo) << "KORDER";
    QTest::addRow("two letters swapped") << "KYSENO" << int(FindingKind::TypeTypo) << "KYESNO";
    QTest::addRow("word without K") << "CURRENCY" << int(FindingKind::TypeTypo) << "KCURRENCY";
    QTest::addRow("empty") << "" << int(FindingKind::TypeUnknown) << "";
    QTest::addRow("plain words") << "Question one" << int(FindingKind::TypeUnknown) << "";
    QTest::addRow("dashes") << "-----" << int(FindingKind::OutOfStep) << "";
    QTest::addRow("a number") << "12" << int(FindingKind::OutOfStep) << "";
}

void TestChecker::typeLines() {
    QFETCH(QString, typeLine);
    QFETCH(int, kind);
    QFETCH(QString, fix);
    const QByteArray bytes = oneWordQuestion(typeLine);
    const Findings found = checkContent(view(bytes));
    if (kind < 0) {
        QVERIFY(found.empty());
        return;
    }
    QCOMPARE(found.size(), std::size_t(1));
    QCOMPARE(int(found.front().kind), kind);
    QCOMPARE(found.front().line, 2);
    if (!fix.isEmpty()) QVERIFY2(found.front().fix.contains('"' + fix + '"'), qPrintable(fix));
}

// The checker's own walk through the grammar must see the fields the reader stores, and fail
// where the reader fails with the same message.
void TestChecker::scannerReadsAsTheReader() {
    const QStringList files = QDir(kFixtures).entryList({QStringLiteral("*.txt")});
    QVERIFY(files.size() >= 20);
    for (const QString& name : files) {
        QuestionStore store;
        QString readerError;
        try {
            readTestFile((kFixtures + QLatin1Char('/') + name).toStdString(), store);
        } catch (const AppError& error) {
            readerError = QString::fromLatin1(error.what());
        }
        const QByteArray bytes = fixture(name);
        const ScannedTest scan = scanTestFile(readablePart(view(bytes)));
        QCOMPARE(scan.failure ? QString::fromStdString(scan.failure->message) : QString(),
                 readerError);
        QCOMPARE(scan.count.value, store.questionCount);
        for (const ScannedQuestion& q : scan.questions) {
            if (scan.failure && scan.failure->question == q.number) break;
            const int n = q.number;
            QCOMPARE(q.type, store.questionType[n]);
            QCOMPARE(q.optionCount.value, store.optionCount[n]);
            for (int j = 1; j <= kMaxOptions; ++j)
                QCOMPARE(q.key[std::size_t(j - 1)].value, store.answerKey[n][j]);
            QCOMPARE(q.answer.value, store.answerText[n]);
            QCOMPARE(q.fixedItemPos.value, store.fixedItemPos[n]);
            for (std::size_t a = 0; a < q.alternatives.size(); ++a)
                QCOMPARE(q.alternatives[a].value, store.altText[n][int(a) + 1]);
        }
    }
}

void TestChecker::pagesAndNames() {
    QTemporaryDir dir;
    const NativePath folder = nativePath(dir.path());
    const QByteArray test = fixture(QStringLiteral("ok.txt"));
    const NativePath shapes = nativePath(writeFile(dir, QStringLiteral("Shapes.txt"), test));
    QCOMPARE(checkPages(shapes, 3).size(), std::size_t(1)); // no page folder at all

    writeFile(dir, QStringLiteral("Shapes/front.htm"), "<p>");
    writeFile(dir, QStringLiteral("Shapes/question1.htm"), "<p>");
    writeFile(dir, QStringLiteral("Shapes/question3.htm"), "<p>");
    const Findings missing = checkTestFile(shapes);
    QCOMPARE(missing.size(), std::size_t(1));
    QCOMPARE(missing.front().kind, FindingKind::MissingPage);
    QCOMPARE(missing.front().question, 2);

    // Every ".txt" goes, wherever it stands; ".TXT" stays.
    QCOMPARE(pageFolderOf("/t/a.txt.txt"), NativePath("/t/a"));
    QCOMPARE(pageFolderOf("/t/QUIZ.TXT"), NativePath("/t/QUIZ.TXT"));

    // Names saved by a Windows tool are Latin-1 bytes: listed in the program's order, and
    // a clash in the case of a Latin-1 letter is found.
    const NativePath lower = nativePath(writeFile(dir, QStringLiteral("shapes.txt"), test));
    const NativePath other = nativePath(writeFile(dir, QStringLiteral("Shapes2.txt"), test));
    const NativePath etude = writeNative(folder + "/\xc9tude.txt", test);
    const NativePath elan = writeNative(folder + "/\xe9tude.txt", test);
    const std::vector<NativePath> listed = testFilesIn(folder);
    QCOMPARE(listed, (std::vector<NativePath>{shapes, lower, other, etude, elan}));
    QCOMPARE(checkNameClashes(shapes, listed).size(), std::size_t(1));
    QCOMPARE(checkNameClashes(lower, listed).front().kind, FindingKind::DuplicateName);
    QVERIFY(checkNameClashes(other, listed).empty());
    QCOMPARE(checkNameClashes(etude, listed).size(), std::size_t(1));
}

// The tool checks a test under a Latin-1 name as the program opens it: the file, and the
// pages in its Latin-1 page folder.
void TestChecker::checksLatin1Names() {
    QTemporaryDir dir;
    const NativePath cafe = nativePath(dir.path()) + "/caf\xe9";
    writeNative(cafe + ".txt", fixture(QStringLiteral("ok.txt")));
    for (const char* page : {"front", "question1", "question2", "question3"})
        writeNative(cafe + "/" + page + ".htm", "<p>");
    const testing::ToolRun check = testing::runTool(CORVANE_CHECK_EXE, {dir.path()});
    QCOMPARE(check.status, 0);
    QCOMPARE(check.out, QDir(dir.path()).filePath(QString::fromLatin1("caf\xe9.txt: OK\n")));
}

void TestChecker::dumpOfWorkedExample() {
    bool loaded = false;
    const QByteArray json = dumpTestFile(nativePath(kFixtures + QStringLiteral("/ok.txt")), loaded);
    QVERIFY(loaded);
    QJsonParseError error{};
    const QJsonObject root = QJsonDocument::fromJson(json, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(root.value("questionCount").toInt(), 3);
    const QJsonArray questions = root.value("questions").toArray();
    QCOMPARE(questions.size(), 3);
    auto ints = [](const QJsonValue& v) {
        QList<int> list;
        for (const QJsonValue& item : v.toArray())
            list << item.toInt();
        return list;
    };
    auto texts = [](const QJsonValue& v) {
        QStringList list;
        for (const QJsonValue& item : v.toArray())
            list << item.toString();
        return list;
    };
    const QJsonObject q1 = questions[0].toObject();
    QCOMPARE(q1.value("questionType").toInt(), 1);
    QCOMPARE(q1.value("optionCount").toInt(), 4);
    QCOMPARE(ints(q1.value("answerKey")), QList<int>({0, 0, 1, 0, 0}));
    QCOMPARE(q1.value("answerText").toString(), QStringLiteral("C"));
    QCOMPARE(q1.value("fixedItemPos").toInt(), 0);
    QCOMPARE(q1.value("altText").toArray().size(), 0);

    const QJsonObject q2 = questions[1].toObject();
    QCOMPARE(q2.value("questionType").toInt(), 9);
    QCOMPARE(q2.value("optionCount").toInt(), 3);
    QCOMPARE(ints(q2.value("answerKey")), QList<int>({2, 1, 3, 0, 0}));
    QCOMPARE(q2.value("answerText").toString(), QString());
    QCOMPARE(texts(q2.value("optionLabel")), QStringList({"12", "5", "30", "", ""}));
    QCOMPARE(q2.value("fixedItemPos").toInt(), 1);
    QCOMPARE(q2.value("fixedItemText").toString(), QStringLiteral("Smallest:"));

    const QJsonObject q3 = questions[2].toObject();
    QCOMPARE(q3.value("questionType").toInt(), 11);
    QCOMPARE(q3.value("answerText").toString(), QStringLiteral("1,2"));
    QCOMPARE(q3.value("altCount").toInt(), 3);
    QCOMPARE(texts(q3.value("altText")), QStringList({"1,2", "2,4", "3,6"}));

    const QByteArray failed =
        dumpTestFile(nativePath(kFixtures + QStringLiteral("/bad_number.txt")), loaded);
    QVERIFY(!loaded);
    QCOMPARE(QJsonDocument::fromJson(failed).object().value("error").toString(),
             QStringLiteral("Invalid numeric input"));
}

void TestChecker::jsonEscapes_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("json");
    QTest::addRow("pound sign") << QByteArray("\xA3"
                                              "1.50")
                                << QByteArray(R"("\u00A31.50")");
    QTest::addRow("accented letter") << QByteArray("caf\xE9") << QByteArray(R"("caf\u00E9")");
    QTest::addRow("tab and DEL") << QByteArray("a\tb\x7F") << QByteArray(R"("a\u0009b\u007F")");
    QTest::addRow("quote and backslash")
        << QByteArray("say \"1\\2\"") << QByteArray(R"("say \"1\\2\"")");
}

void TestChecker::jsonEscapes() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, json);
    QCOMPARE(jsonString(text.toStdString()), json);
    // Read back, each \u00XX is the Latin-1 character of the byte.
    const QJsonArray parsed = QJsonDocument::fromJson('[' + json + ']').array();
    QCOMPARE(parsed.first().toString(), QString::fromLatin1(text));
}

void TestChecker::markWorkedExample_data() {
    QTest::addColumn<QString>("answers"); // answer lines joined with |
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("all right") << "c|BAC|2/4"
                               << QStringList{"Question 1: right", "Question 2: right",
                                              "Question 3: right",
                                              "Score: 3 out of  3     Well Done! "};
    QTest::addRow("two wrong") << "A|ABC|2 4 6"
                               << QStringList{"Question 1: wrong (expected C)",
                                              "Question 2: wrong (expected BAC (5 12 30))",
                                              "Question 3: right", "Score: 1 out of 3"};
    QTest::addRow("unanswered") << "||"
                                << QStringList{"Question 1: wrong (expected C)",
                                               "Question 2: wrong (expected BAC (5 12 30))",
                                               "Question 3: wrong (expected \"1,2\" or \"2,4\" "
                                               "or \"3,6\")",
                                               "Score: 0 out of 3"};
    QTest::addRow("letter beyond the options") << "E|BAC|1,2"
                                               << QStringList{"answer line 1: E is not one of "
                                                              "the 4 options"};
    QTest::addRow("item twice") << "C|BAA|1,2" << QStringList{"answer line 2: A appears twice"};
}

void TestChecker::markWorkedExample() {
    QFETCH(QString, answers);
    QFETCH(QStringList, expected);
    QCOMPARE(verdictsFor(answers), expected);
}

void TestChecker::stored_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("money"); // some typed amount gives it
    QTest::addColumn<bool>("pair");  // some typed pair gives it
    QTest::addRow("plain amount") << QByteArray("1.50") << true << false;
    QTest::addRow("pound sign") << QByteArray("\xA3"
                                              "1.50")
                                << false << false;
    QTest::addRow("pence letter") << QByteArray("1.50p") << false << false;
    QTest::addRow("capital P") << QByteArray("150P") << false << false;
    QTest::addRow("point first, as typed .5 gives") << QByteArray(".50") << true << false;
    QTest::addRow("point first, one digit") << QByteArray(".5") << true << false;
    QTest::addRow("blank inside") << QByteArray("1 50") << false << false;
    QTest::addRow("lower-case word") << QByteArray("ten") << false << false;
    QTest::addRow("one lower-case letter") << QByteArray("p") << false << false;
    QTest::addRow("one capital P") << QByteArray("P") << true << false;
    QTest::addRow("one pound sign") << QByteArray("\xA3") << true << false;
    QTest::addRow("empty") << QByteArray("") << true << false;
    QTest::addRow("pair") << QByteArray("3,2") << true << true;
    QTest::addRow("pair, no second number") << QByteArray("12,!") << true << true;
    QTest::addRow("pair, no first number") << QByteArray("!,2") << true << true;
    QTest::addRow("pair, no numbers") << QByteArray("!,!") << true << true;
    QTest::addRow("pair of decimals") << QByteArray("-3.5,2.25") << true << true;
    QTest::addRow("pair with blanks") << QByteArray("3, 2") << false << false;
    QTest::addRow("pair written with R") << QByteArray("3R2") << true << false;
    QTest::addRow("fraction") << QByteArray("1/2") << true << false;
    QTest::addRow("one number") << QByteArray("12") << true << false;
    QTest::addRow("three numbers") << QByteArray("1,2,3") << true << false;
}

void TestChecker::stored() {
    QFETCH(QByteArray, stored);
    QFETCH(bool, money);
    QFETCH(bool, pair);
    const Text text = stored.toStdString();
    const auto input = currencyInput(text);
    QCOMPARE(input.has_value(), money);
    if (input) QCOMPARE(currencyForm(*input), text); // the proof: that typed answer gives it
    QCOMPARE(pairReachable(text), pair);
}

// Whatever a pupil types, its compared form is one that the predicates call reachable.
void TestChecker::everyFormIsReachable() {
    for (const Text& typed : allTexts("1. Pp\xA3"
                                      "a",
                                      4)) {
        const Text form = currencyForm(typed);
        const auto input = currencyInput(form);
        QVERIFY2(input && currencyForm(*input) == form, typed.c_str());
    }
    for (const Text& typed : allTexts("1-,. rR!", 4))
        QVERIFY2(pairReachable(pairForm(typed)), typed.c_str());
}

void TestChecker::exitStatus_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    const QString fixtures = kFixtures + QLatin1Char('/');
    // A test with its pages whose only finding is a warning.
    QByteArray lineFeeds = fixture(QStringLiteral("ok.txt"));
    lineFeeds.replace("\r\n", "\n");
    writeFile(library_, QStringLiteral("Halves.txt"), lineFeeds);
    for (const char* page : {"front", "question1", "question2", "question3"})
        writeFile(library_, QStringLiteral("Halves/%1.htm").arg(page), "<p>");
    QTest::addRow("warnings alone") << QStringList{library_.path()} << 0;
    QTest::addRow("errors") << QStringList{library_.path(), fixtures + "type_typo.txt"} << 1;
    QTest::addRow("dump") << QStringList{"--dump", fixtures + "ok.txt"} << 0;
    QTest::addRow("dump of a failing load")
        << QStringList{"--dump", fixtures + "bad_number.txt"} << 1;
    QTest::addRow("missing path") << QStringList{fixtures + "nothing.txt"} << 2;
    QTest::addRow("unknown option") << QStringList{"--fast"} << 2;
    QTest::addRow("mark without answers") << QStringList{"--mark", fixtures + "ok.txt"} << 2;
}

void TestChecker::exitStatus() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    const testing::ToolRun check = testing::runTool(CORVANE_CHECK_EXE, arguments);
    QCOMPARE(check.status, status);
    if (status == 2) QVERIFY(check.err.contains("usage:"));
}

QTEST_GUILESS_MAIN(TestChecker)
#include "test_checker.moc"
