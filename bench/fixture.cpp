// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/fixture.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <array>

namespace corvane::bench {
namespace {

// One block per question type, from its keyword line to its closing line.
const std::array<QStringList, 11> kBlocks{{
    {"KSINGLECHOICE", "Which shape has four equal sides?", "4", "0", "0", "1", "0", "0", "C"},
    {"KMULTICHOICE", "3 times table", "5", "1", "0", "1", "0", "1", ""},
    {"KWORD", "40 in words", "0", "0", "0", "0", "0", "0", "FORTY"},
    {"KORDER", "Smallest first", "4", "4", "2", "1", "3", "0", ""},
    {"KCURRENCY", "Coins", "0", "0", "0", "0", "0", "0", "1.45"},
    {"KCOMMA", "1,000 + 254", "0", "0", "0", "0", "0", "0", "1,254"},
    {"KTIME", "Quarter to four", "0", "0", "0", "0", "0", "0", "3:45"},
    {"KYESNO", "Is 2 hours longer than 100 minutes?", "2", "1", "0", "0", "0", "0", ""},
    {"KORDERUSER", "Put the numbers in order", "3", "2", "1", "3", "0", "0", "", "12", "5", "30",
     "", "", "1", "Smallest:"},
    {"KMULTIENTRY", "17 shared between 5", "0", "0", "0", "0", "0", "0", "3,2"},
    {"KMULTIENTRYMULTI", "Half", "0", "0", "0", "0", "0", "0", "1,2", "3", "1,2", "2,4", "3,6"},
}};

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("Cannot write %s", qPrintable(path));
}

// The page with its marker: a square fixed at the top left of the view.
QByteArray markedPage(const QByteArray& page, int number) {
    const QByteArray marker =
        "<div style=\"position:fixed;left:" + QByteArray::number(kMarkerSpot.x() - 20) +
        "px;top:" + QByteArray::number(kMarkerSpot.y() - 20) +
        "px;width:40px;height:40px;background:" + pageMarker(number).name().toLatin1() +
        "\"></div>";
    const qsizetype body = page.indexOf("<body");
    const qsizetype at = body < 0 ? 0 : page.indexOf('>', body) + 1;
    return QByteArray(page).insert(at, marker);
}

} // namespace

QColor pageMarker(int number) {
    return QColor(200, 8 * number, 40);
}

QString writeThirtyQuestionTest(const QString& testFolder, const QString& samplePage) {
    QFile sample(samplePage);
    if (!sample.open(QIODevice::ReadOnly)) qFatal("Cannot read %s", qPrintable(samplePage));
    const QByteArray page = sample.readAll();

    const QString name = QString::fromLatin1(kBenchTestName);
    const QString pageFolder = testFolder + "/" + name;
    QDir().mkpath(pageFolder);
    writeBytes(pageFolder + "/front.htm", markedPage(page, 0));
    QStringList lines{QString::number(kMaxQuestions)};
    for (int q = 1; q <= kMaxQuestions; ++q) {
        lines += kBlocks[(q - 1) % kBlocks.size()];
        lines += "----------";
        writeBytes(pageFolder + QString("/question%1.htm").arg(q), markedPage(page, q));
    }
    const QString path = testFolder + "/" + name + ".txt";
    writeBytes(path, lines.join("\r\n").toLatin1() + "\r\n");
    return path;
}

void answerAll(QuestionStore& store) {
    for (int q = 1; q <= store.questionCount; ++q) {
        switch (store.questionType[q]) {
        case KSINGLECHOICE:
        case KMULTICHOICE:
        case KYESNO:
        case KORDER:
        case KORDERUSER:
            store.userMarks[q] = store.answerKey[q];
            break;
        case KMULTIENTRYMULTI:
            store.userText[q] = store.altText[q][2];
            break;
        default:
            store.userText[q] = store.answerText[q];
        }
    }
}

} // namespace corvane::bench
