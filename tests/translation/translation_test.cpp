// SPDX-License-Identifier: MIT
// The English translation has a finished English text for every text the sources mark, as they are now.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

struct Message {
    QString context, source, translation, type;
};

std::vector<Message> ReadMessages(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    std::vector<Message> messages;
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("name")) context = xml.readElementText();
        if (xml.name() == QLatin1String("message")) messages.push_back({context, {}, {}, {}});
        if (xml.name() == QLatin1String("source")) messages.back().source = xml.readElementText();
        if (xml.name() == QLatin1String("translation")) {
            messages.back().type = xml.attributes().value(QLatin1String("type")).toString();
            messages.back().translation = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

TEST(Translation, EveryTextInTheSourcesHasAFinishedEnglishText) {
    // The translation file brought up to date with the sources in a scratch copy: a text added to the
    // game and never translated shows up unfinished, one the game no longer has as vanished.
    QTemporaryDir scratch;
    const QString ts = scratch.filePath(QStringLiteral("kanuvo_en.ts"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KANUVO_TS_FILE), ts));
    QStringList arguments = QString(KANUVO_LUPDATE_OPTIONS).split(QLatin1Char(' '));
    arguments << QStringLiteral("-no-obsolete") << QStringLiteral(KANUVO_SOURCES) << QStringLiteral("-ts") << ts;
    QProcess lupdate;
    lupdate.start(QStringLiteral(KANUVO_LUPDATE), arguments);
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();

    const std::vector<Message> messages = ReadMessages(ts);
    EXPECT_GE(messages.size(), 27u) << "the game's own texts at the least";
    const std::vector<Message> committed = ReadMessages(QStringLiteral(KANUVO_TS_FILE));
    EXPECT_EQ(committed.size(), messages.size()) << "translations/kanuvo_en.ts lists texts the sources no longer have";
    for (const Message& m : messages) {
        SCOPED_TRACE((m.context + QLatin1String(": ") + m.source).toStdString());
        EXPECT_EQ(m.type, QString()) << "unfinished";
        EXPECT_FALSE(m.translation.trimmed().isEmpty());
        // A number or time the game puts in must have its place in the English too.
        EXPECT_EQ(m.source.contains(QLatin1String("%1")), m.translation.contains(QLatin1String("%1")));
        EXPECT_EQ(m.source.endsWith(QLatin1Char('\n')), m.translation.endsWith(QLatin1Char('\n')));
    }
}

}  // namespace
