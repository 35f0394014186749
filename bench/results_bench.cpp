// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a results folder of many records as the teacher's Results page does (list, read,
// summarise, head the questions), then rescanning it with nothing new and with one new record.
// The reference is reading the same files' bytes alone. Then the page itself (offscreen unless
// a display is set): the folder opened and shown, and records written one by one as pupils
// finish, each timed from written to shown in the page.
//   results_bench [COUNT]   (20000 records by default)
#include "bench/report.h"
#include "core/class_record.h"
#include "teacher/results_scan.h"
#include "teacher/results_watch.h"

#include "teacher/results_page.h"

#include <QApplication>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using namespace corvane;

constexpr int kArrivals = 7;
constexpr int kBetweenArrivalsMs = 1500;

// Thirty pupils' worth of names, tests of 20 questions, as a busy term's folder holds them.
ClassRecord recordFor(int n) {
    ClassRecord record;
    record.finished = QDateTime(QDate(2026, 9, 1).addDays(n / 300), QTime(9, 0).addSecs(n % 300));
    record.computer = QStringLiteral("PC%1").arg(n % 32);
    record.pupil = fromQt(QStringLiteral("Pupil %1").arg(n % 30));
    record.test = fromQt(QStringLiteral("Test %1").arg(n / 600));
    record.testChecksum = checksumHex(QByteArray::fromStdString(record.test));
    for (int q = 1; q <= 20; ++q) {
        const bool right = (n * 7 + q * 3) % 5 != 0;
        record.rows.push_back({q, fromQt(QString::number(right ? 12 : 10 + q)), right, {}});
        record.score += right;
    }
    return record;
}

// As the pupil's window saves a record: under a temporary name, then renamed.
void write(const QString& folder, int n) {
    const QString name = recordFileName(recordFor(n), static_cast<std::uint32_t>(n));
    QFile file(folder + u'/' + temporaryName(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(recordCsv(recordFor(n))) < 0 ||
        !file.flush() || !file.rename(folder + u'/' + name)) {
        std::fprintf(stderr, "results_bench: cannot write into %s\n", qPrintable(folder));
        std::exit(1);
    }
}

// Waits until the page shows `records` records; false after a minute.
bool shown(teacher::ResultsPage& page, std::size_t records) {
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&page, &teacher::ResultsPage::refreshed, &loop, [&] {
        if (page.scan().records.size() == records) loop.quit();
    });
    limit.start(60000);
    if (page.scan().records.size() != records) loop.exec();
    return page.scan().records.size() == records;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // the page's remembered folder is left alone
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
    QTemporaryDir dir;
    for (int n = 0; n < count; ++n)
        write(dir.path(), n);

    auto start = bench::Clock::now();
    qint64 bytes = 0;
    QDirIterator it(dir.path(), QDir::Files);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly)) bytes += file.readAll().size();
    }
    const double readOnly = bench::millisecondsSince(start);

    teacher::ScanRequest request{dir.path(), QString(), results::AttemptChoice::Latest,
                                 {},         true,      {}};
    start = bench::Clock::now();
    teacher::Scan scan = teacher::scanFolder(request);
    const double open = bench::millisecondsSince(start);
    if (static_cast<int>(scan.records.size()) != count) {
        std::fprintf(stderr, "results_bench: %zu of %d records read\n", scan.records.size(), count);
        return 1;
    }

    // The same through the page's watch: off the window's thread, as the page opens a folder.
    teacher::ResultsWatch watch;
    QEventLoop loop;
    QObject::connect(&watch, &teacher::ResultsWatch::scanned, &loop, &QEventLoop::quit);
    start = bench::Clock::now();
    watch.open(dir.path());
    loop.exec();
    const double watched = bench::millisecondsSince(start);

    request.known = scan.files;
    request.summarise = false; // as the page's rescans
    start = bench::Clock::now();
    scan = teacher::scanFolder(request);
    const double rescan = bench::millisecondsSince(start);

    write(dir.path(), count);
    request.known = scan.files;
    start = bench::Clock::now();
    scan = teacher::scanFolder(request);
    const double oneNew = bench::millisecondsSince(start);

    const QByteArray name = QByteArray::number(count) + " records open";
    bench::printFigure(name.constData(), open, "ms", "reading their bytes alone", readOnly,
                       "<= 2000 ms");
    bench::printFigure("opened by the page", watched, "ms", "opening the folder", open,
                       "<= 2000 ms");
    bench::printFigure("rescan, nothing new", rescan, "ms", "opening the folder", open,
                       "below the opening");
    bench::printFigure("rescan, one new record", oneNew, "ms", "opening the folder", open,
                       "below the opening");
    std::printf("(%lld bytes, %zu tests, %zu added by the last rescan)\n", bytes, scan.tests.size(),
                scan.added.size());
    if (scan.added.size() != 1 || watch.latest().records.size() != scan.records.size() - 1)
        return 1;

    // The page: the folder opened and shown at a laptop's size, then pupils finishing.
    teacher::ResultsPage page;
    page.resize(1366, 700);
    page.show();
    std::size_t records = scan.records.size();
    start = bench::Clock::now();
    page.openFolder(dir.path());
    if (!shown(page, records)) {
        std::fprintf(stderr, "results_bench: the page did not show the folder within a minute\n");
        return 1;
    }
    const double pageOpen = bench::millisecondsSince(start);
    std::vector<double> arrivals;
    for (int n = count + 1; n <= count + kArrivals; ++n) {
        QTest::qWait(kBetweenArrivalsMs); // a pupil now and then, not a burst
        start = bench::Clock::now();
        write(dir.path(), n);
        if (!shown(page, ++records)) {
            std::fprintf(stderr, "results_bench: a new record was not shown within a minute\n");
            return 1;
        }
        arrivals.push_back(bench::millisecondsSince(start));
    }
    bench::printFigure("page opens the folder", pageOpen, "ms", "opening the folder", open,
                       "<= 2000 ms");
    bench::printFigure("written -> shown, median", bench::median(arrivals), "ms",
                       "page opens the folder", pageOpen, "<= 1000 ms");
    bench::printFigure("written -> shown, worst",
                       *std::max_element(arrivals.begin(), arrivals.end()), "ms",
                       "page opens the folder", pageOpen, "<= 1000 ms");
    return 0;
}
