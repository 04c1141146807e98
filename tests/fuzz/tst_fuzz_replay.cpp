#include "FuzzTargets.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <random>

// Each fuzzed function replays its committed corpus, then a seeded run of mutations of it;
// a broken property aborts the program with the input that broke it.
class TestFuzzReplay : public QObject {
    Q_OBJECT

    static QList<QByteArray> corpus(const QString& name) {
        QDir dir(QStringLiteral(MARIVELLE_SOURCE_DIR "/fuzz/corpus/") + name);
        QList<QByteArray> out;
        for (const QString& f : dir.entryList(QDir::Files, QDir::Name)) {
            QFile file(dir.filePath(f));
            if (file.open(QIODevice::ReadOnly))
                out.append(file.readAll());
        }
        return out;
    }

    // The pieces a person or a file could bring that the readers treat specially.
    static QByteArray piece(std::mt19937& rng) {
        static const QByteArray kPieces[] = {"'",
                                             "''",
                                             "\"",
                                             "#",
                                             "[",
                                             "]",
                                             "{{",
                                             "}}",
                                             "{{{",
                                             "}}}",
                                             "{{#T}}",
                                             "{{/T}}",
                                             "{{^",
                                             "{{&",
                                             "{{Param.V}}",
                                             "{{A}}",
                                             "/",
                                             ",",
                                             ".",
                                             "e",
                                             "E",
                                             "-",
                                             "+",
                                             "0",
                                             "1",
                                             "9",
                                             "29",
                                             "12",
                                             "2023",
                                             "99",
                                             "<",
                                             ">",
                                             "&",
                                             "&amp;",
                                             "<br>",
                                             "\r\n",
                                             " ",
                                             "\t",
                                             QByteArray(1, '\0'),
                                             "\x01",
                                             "α",
                                             "Ω",
                                             "ά",
                                             "ς",
                                             "\xe2\x80\x8f",
                                             "\xe2\x80\xae",
                                             "\xc2\xa0",
                                             "\xef\xbb\xbf",
                                             "\xff",
                                             "1e400",
                                             "NaN",
                                             "-0",
                                             "0/0/0",
                                             "29/2/2023",
                                             "#1/2/2003#",
                                             "%",
                                             "_",
                                             ";",
                                             "\xcd\xbe",
                                             "\xd9\xa3"};
        return kPieces[rng() % std::size(kPieces)];
    }

    static QByteArray mutate(QByteArray in, const QList<QByteArray>& seeds, std::mt19937& rng) {
        const int steps = 1 + int(rng() % 4);
        for (int s = 0; s < steps; ++s) {
            const qsizetype at = in.isEmpty() ? 0 : qsizetype(rng() % (in.size() + 1));
            switch (rng() % 6) {
            case 0: // flip a bit
                if (!in.isEmpty())
                    in[at % in.size()] = char(in[at % in.size()] ^ (1 << (rng() % 8)));
                break;
            case 1:
            case 2:
                in.insert(at, piece(rng));
                break;
            case 3: // cut a run
                in.remove(at, qsizetype(rng() % 4 + 1));
                break;
            case 4: // repeat a run
                in.insert(at, in.mid(at, qsizetype(rng() % 8)));
                break;
            default: // join with another seed
                in = in.left(at) + seeds.at(qsizetype(rng() % seeds.size()));
                break;
            }
        }
        return in.left(512);
    }

private slots:
    void replay_data() {
        QTest::addColumn<int>("target");
        for (int i = 0; i < int(std::size(FuzzTargets::kAll)); ++i)
            QTest::newRow(FuzzTargets::kAll[i].name) << i;
    }

    void replay() {
        QFETCH(int, target);
        const FuzzTargets::Target& t = FuzzTargets::kAll[target];
        const QList<QByteArray> seeds = corpus(QString::fromLatin1(t.name));
        QVERIFY2(seeds.size() >= 20, "each target has a corpus of its own");
        for (const QByteArray& s : seeds)
            t.run(reinterpret_cast<const uint8_t*>(s.constData()), size_t(s.size()));

        const bool stress = qEnvironmentVariableIntValue("MARIVELLE_STRESS") == 1;
        const int runs = stress ? 1'000'000 : 100'000;
        std::mt19937 rng(20240229u + unsigned(target));
        QByteArray input;
        for (int r = 0; r < runs; ++r) {
            // Mostly mutations of mutations, restarted from a seed now and then.
            if (r % 16 == 0 || input.isEmpty())
                input = seeds.at(qsizetype(rng() % seeds.size()));
            input = mutate(input, seeds, rng);
            t.run(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
        }
        qInfo("%s: %lld corpus files and %d mutated inputs", t.name, qlonglong(seeds.size()), runs);
    }
};

QTEST_GUILESS_MAIN(TestFuzzReplay)
#include "tst_fuzz_replay.moc"
