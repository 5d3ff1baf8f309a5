// SPDX-License-Identifier: GPL-3.0-or-later
#include "propertybag.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

// Settings file format: UTF-8 text, one record per line, fields separated by single spaces.
//
//   QuillonSettings 1                  first line: magic word and format version
//   <key> int <decimal>                32-bit signed integer
//   <key> bool 0|1
//   <key> font <charset> <points> <weight> <italic 0|1> <underline 0|1> <strikeout 0|1> <face>
//   <key> picture <base64 PNG>        an empty field stands for "no picture"
//   end                                last line; a file without it is taken as truncated
//
// Keys and face names are percent-encoded so that they never contain spaces or line breaks.
// Records keep the bag's order; a key may appear once.

namespace quillon::controls {

namespace {

constexpr char kMagic[] = "QuillonSettings";
constexpr char kVersion[] = "1";
constexpr char kEnd[] = "end";

const char* typeName(const PropertyValue& v) {
    switch (v.index()) {
    case 0:
        return "font";
    case 1:
        return "int";
    case 2:
        return "bool";
    default:
        return "picture";
    }
}

QByteArray encodeValue(const PropertyValue& value) {
    if (const auto* font = std::get_if<StoredFont>(&value)) {
        QByteArrayList fields{QByteArray::number(font->charset),
                              QByteArray::number(font->pointSize, 'g', 17),
                              QByteArray::number(font->weight),
                              font->italic ? "1" : "0",
                              font->underline ? "1" : "0",
                              font->strikeOut ? "1" : "0",
                              font->faceName.toUtf8().toPercentEncoding()};
        return fields.join(' ');
    }
    if (const auto* i = std::get_if<std::int32_t>(&value)) {
        return QByteArray::number(*i);
    }
    if (const auto* b = std::get_if<bool>(&value)) {
        return *b ? "1" : "0";
    }
    const QImage& image = std::get<QImage>(value);
    if (image.isNull()) {
        return {};
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toBase64();
}

std::optional<std::int32_t> parseInt(const QByteArray& text) {
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(v);
}

std::optional<bool> parseBool(const QByteArray& text) {
    if (text == "0") {
        return false;
    }
    if (text == "1") {
        return true;
    }
    return std::nullopt;
}

std::optional<PropertyValue> decodeValue(const QByteArray& type, const QByteArrayList& fields,
                                         std::string& why) {
    if (type == "int") {
        if (fields.size() == 1) {
            if (auto v = parseInt(fields[0])) {
                return PropertyValue{*v};
            }
        }
        why = "not a 32-bit integer";
        return std::nullopt;
    }
    if (type == "bool") {
        if (fields.size() == 1) {
            if (auto v = parseBool(fields[0])) {
                return PropertyValue{*v};
            }
        }
        why = "not 0 or 1";
        return std::nullopt;
    }
    if (type == "font") {
        why = "a font needs charset, points, weight, italic, underline, strikeout and face";
        if (fields.size() != 7) {
            return std::nullopt;
        }
        StoredFont font;
        bool pointsOk = false;
        font.pointSize = fields[1].toDouble(&pointsOk);
        const auto charset = parseInt(fields[0]);
        const auto weight = parseInt(fields[2]);
        const auto italic = parseBool(fields[3]);
        const auto underline = parseBool(fields[4]);
        const auto strikeOut = parseBool(fields[5]);
        if (!pointsOk || !std::isfinite(font.pointSize) || !charset || !weight || !italic ||
            !underline || !strikeOut) {
            return std::nullopt;
        }
        font.charset = *charset;
        font.weight = *weight;
        font.italic = *italic;
        font.underline = *underline;
        font.strikeOut = *strikeOut;
        font.faceName = QString::fromUtf8(QByteArray::fromPercentEncoding(fields[6]));
        return PropertyValue{font};
    }
    if (type == "picture") {
        if (fields.isEmpty() || (fields.size() == 1 && fields[0].isEmpty())) {
            return PropertyValue{QImage()};
        }
        if (fields.size() == 1) {
            const auto decoded =
                QByteArray::fromBase64Encoding(fields[0], QByteArray::AbortOnBase64DecodingErrors);
            QImage image;
            if (decoded && image.loadFromData(*decoded, "PNG")) {
                return PropertyValue{image};
            }
        }
        why = "not a base64 PNG picture";
        return std::nullopt;
    }
    why = "unknown value type '" + type.toStdString() + "'";
    return std::nullopt;
}

void setError(std::string* error, std::string message) {
    if (error != nullptr) {
        *error = std::move(message);
    }
}

} // namespace

void PropertyBag::write(const QString& key, const PropertyValue& value,
                        const std::optional<PropertyValue>& defaultValue) {
    const bool isDefault = defaultValue.has_value() && *defaultValue == value;
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&key](const auto& entry) { return entry.first == key; });
    if (isDefault) {
        if (it != entries_.end()) {
            entries_.erase(it);
        }
        return;
    }
    if (it != entries_.end()) {
        it->second = value;
    } else {
        entries_.emplace_back(key, value);
    }
}

PropertyValue PropertyBag::read(const QString& key, const PropertyValue& defaultValue) const {
    const PropertyValue* v = find(key);
    return v != nullptr ? *v : defaultValue;
}

const PropertyValue* PropertyBag::find(const QString& key) const {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&key](const auto& entry) { return entry.first == key; });
    return it != entries_.end() ? &it->second : nullptr;
}

bool PropertyBag::remove(const QString& key) {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&key](const auto& entry) { return entry.first == key; });
    if (it == entries_.end()) {
        return false;
    }
    entries_.erase(it);
    return true;
}

QStringList PropertyBag::keys() const {
    QStringList result;
    for (const auto& entry : entries_) {
        result << entry.first;
    }
    return result;
}

QByteArray PropertyBag::toText() const {
    QByteArray out = QByteArray(kMagic) + ' ' + kVersion + '\n';
    for (const auto& [key, value] : entries_) {
        out += key.toUtf8().toPercentEncoding() + ' ' + typeName(value) + ' ' + encodeValue(value) +
               '\n';
    }
    out += QByteArray(kEnd) + '\n';
    return out;
}

std::optional<PropertyBag> PropertyBag::fromText(const QByteArray& text, std::string* error) {
    QByteArrayList lines = text.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    if (lines.isEmpty() || lines.front() != QByteArray(kMagic) + ' ' + kVersion) {
        setError(error, "not a Quillon settings file (the first line must be \"" +
                            std::string(kMagic) + " " + kVersion + "\")");
        return std::nullopt;
    }
    PropertyBag bag;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const std::string where = "line " + std::to_string(i + 1) + ": ";
        const QByteArray& line = lines[i];
        if (line == kEnd) {
            if (i + 1 != lines.size()) {
                setError(error, where + "text after the end line");
                return std::nullopt;
            }
            return bag;
        }
        QByteArrayList fields = line.split(' ');
        if (fields.size() < 2) {
            setError(error, where + "expected \"<key> <type> <value>\"");
            return std::nullopt;
        }
        const QString key = QString::fromUtf8(QByteArray::fromPercentEncoding(fields[0]));
        const QByteArray type = fields[1];
        fields.erase(fields.begin(), fields.begin() + 2);
        if (bag.contains(key)) {
            setError(error, where + "key \"" + key.toStdString() + "\" appears twice");
            return std::nullopt;
        }
        std::string why;
        auto value = decodeValue(type, fields, why);
        if (!value) {
            setError(error, where + "\"" + key.toStdString() + "\": " + why);
            return std::nullopt;
        }
        bag.entries_.emplace_back(key, std::move(*value));
    }
    setError(error, "the settings end without an \"end\" line (truncated?)");
    return std::nullopt;
}

bool PropertyBag::saveToFile(const QString& path, std::string* error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, path.toStdString() + ": " + file.errorString().toStdString());
        return false;
    }
    file.write(toText());
    if (!file.commit()) {
        setError(error, path.toStdString() + ": " + file.errorString().toStdString());
        return false;
    }
    return true;
}

std::optional<PropertyBag> PropertyBag::loadFromFile(const QString& path, std::string* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, path.toStdString() + ": " + file.errorString().toStdString());
        return std::nullopt;
    }
    std::string why;
    auto bag = fromText(file.readAll(), &why);
    if (!bag) {
        setError(error, path.toStdString() + ": " + why);
    }
    return bag;
}

} // namespace quillon::controls
