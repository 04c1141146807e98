#pragma once

#include "data/ChecksumVfs.h"

#include <QByteArray>
#include <QProcess>
#include <QString>

#include <algorithm>
#include <vector>

// The files the benchmarks fill are written through the page checksums, before any opening.
inline const bool kChecksumsInstalled = (ChecksumVfs::install(), true);

// The middle figure of several runs: steadier than the mean on a busy machine.
inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The median of `runs` calls of f, which returns milliseconds.
template <class F> double medianOf(int runs, F f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(f());
    return median(times);
}

// Benchmarks that make windows run without a display unless one is asked for.
inline void offscreenUnlessSet() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The number of pages pdfinfo finds in a PDF, or -1.
inline int pdfPages(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    if (!p.waitForFinished(60000))
        return -1;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    return -1;
}
