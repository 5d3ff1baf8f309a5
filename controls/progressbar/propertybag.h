// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

class QByteArray;

namespace quillon::controls {

// A font as the settings store it. The character set has no Qt counterpart; it is kept so that a
// loaded font is saved back unchanged.
struct StoredFont {
    QString faceName;
    int charset = 1; // the platform's "default character set"
    double pointSize = 9.0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    friend bool operator==(const StoredFont&, const StoredFont&) = default;
};

// One stored setting. A null QImage stands for "no picture".
using PropertyValue = std::variant<StoredFont, std::int32_t, bool, QImage>;

// An ordered key/value store for a control's settings. Keys keep the order of their first write;
// a value equal to the default given with it is not stored, and reading an absent key yields the
// default the reader supplies.
class PropertyBag {
public:
    void write(const QString& key, const PropertyValue& value,
               const std::optional<PropertyValue>& defaultValue = std::nullopt);
    PropertyValue read(const QString& key, const PropertyValue& defaultValue) const;

    const PropertyValue* find(const QString& key) const;
    bool contains(const QString& key) const { return find(key) != nullptr; }
    bool remove(const QString& key);
    QStringList keys() const;
    bool isEmpty() const { return entries_.empty(); }

    QByteArray toText() const;
    static std::optional<PropertyBag> fromText(const QByteArray& text,
                                               std::string* error = nullptr);

    bool saveToFile(const QString& path, std::string* error = nullptr) const;
    static std::optional<PropertyBag> loadFromFile(const QString& path,
                                                   std::string* error = nullptr);

    friend bool operator==(const PropertyBag&, const PropertyBag&) = default;

private:
    std::vector<std::pair<QString, PropertyValue>> entries_;
};

} // namespace quillon::controls
