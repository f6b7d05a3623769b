// SPDX-License-Identifier: MIT
// Writes the browser version's pictures and pointers as PNG files, and data.json: the English of every
// text, the pointers' hot spots and the names of the sounds.
//   kanuvo_make_web_assets <picture folder> <sound folder> <translation.ts> <output folder>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>

#include <cstdio>

#include "platform/qt/cursor_file.h"

namespace {

bool Fail(const QString& what) {
    std::fprintf(stderr, "kanuvo_make_web_assets: %s\n", qPrintable(what));
    return false;
}

// Every BMP of the folder and of its en/, touch/ and touch/en/ folders, as PNG in the same places below out.
bool WritePictures(const QString& from, const QString& out) {
    for (const QString& sub : {QString(), QStringLiteral("en"), QStringLiteral("touch"), QStringLiteral("touch/en")}) {
        const QDir folder(from + '/' + sub);
        QDir().mkpath(out + "/pictures/" + sub);
        for (const QString& name : folder.entryList({QStringLiteral("*.bmp")}, QDir::Files)) {
            const QImage image(folder.filePath(name));
            const QString png = out + "/pictures/" + sub + '/' + QString(name).replace(".bmp", ".png");
            if (image.isNull() || !image.convertToFormat(QImage::Format_RGB32).save(png, "PNG"))
                return Fail("cannot convert " + folder.filePath(name));
        }
    }
    return true;
}

// The pointer files as PNG, with their hot spots.
bool WritePointers(const QString& soundFolder, const QString& out, QJsonObject& hotSpots) {
    QDir().mkpath(out + "/cursors");
    for (const QString& name : {QStringLiteral("H_point"), QStringLiteral("Nodrop01")}) {
        QFile file(soundFolder + '/' + name + ".cur");
        if (!file.open(QIODevice::ReadOnly)) return Fail("cannot read " + file.fileName());
        const auto shape = kanuvo::DecodeCursorFile(file.readAll());
        if (!shape || !shape->image.save(out + "/cursors/" + name + ".png", "PNG"))
            return Fail("cannot convert " + file.fileName());
        hotSpots[name] = QJsonArray{shape->hotSpot.x(), shape->hotSpot.y()};
    }
    return true;
}

// The translation's texts by context and source, as the game looks them up.
bool ReadEnglish(const QString& ts, QJsonObject& english) {
    QFile file(ts);
    if (!file.open(QIODevice::ReadOnly)) return Fail("cannot read " + ts);
    QXmlStreamReader xml(&file);
    QString context, source;
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("name")) context = xml.readElementText();
        else if (xml.name() == QLatin1String("source")) source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) english[context + QChar(4) + source] = xml.readElementText();
    }
    return !xml.hasError() || Fail(ts + ": " + xml.errorString());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <picture folder> <sound folder> <translation.ts> <output folder>\n", argv[0]);
        return 2;
    }
    const QString pictures = QString::fromLocal8Bit(argv[1]), sounds = QString::fromLocal8Bit(argv[2]);
    const QString ts = QString::fromLocal8Bit(argv[3]), out = QString::fromLocal8Bit(argv[4]);
    QJsonObject hotSpots, english;
    if (!WritePictures(pictures, out) || !WritePointers(sounds, out, hotSpots) || !ReadEnglish(ts, english)) return 1;
    QJsonObject data;
    data["english"] = english;
    data["cursors"] = hotSpots;
    data["sounds"] = QJsonArray{"Shellshk", "goal", "stop1", "stop2", "GameOvaer"};
    QFile json(out + "/data.json");
    if (!json.open(QIODevice::WriteOnly) || json.write(QJsonDocument(data).toJson(QJsonDocument::Compact)) < 0)
        return Fail("cannot write " + json.fileName()) ? 0 : 1;
    return 0;
}
