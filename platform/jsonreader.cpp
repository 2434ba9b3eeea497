#include "platform/jsonreader.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>

#include <algorithm>

namespace tarvelo {

struct JsonReader::Data {
    QJsonDocument document;
};

namespace {

// The bracket walk both the extent and the parser's guard make: brackets inside strings
// do not count. With untilClose the walk ends at the bracket that closes text[0]'s value
// (length set); it ends early when the nesting passes depthLimit.
JsonExtent bracketWalk(std::string_view text, int depthLimit, bool untilClose)
{
    JsonExtent extent;
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            continue;
        }
        switch (c) {
        case '"':
            inString = true;
            break;
        case '{':
        case '[':
            if (++depth > extent.depth) {
                extent.depth = depth;
                if (depth > depthLimit)
                    return extent;
            }
            break;
        case '}':
        case ']':
            --depth;
            if (untilClose && depth <= 0) {
                if (depth == 0)
                    extent.length = i + 1;
                return extent;
            }
            break;
        default:
            break;
        }
        if (untilClose && depth == 0) // text[0] opened nothing
            return extent;
    }
    return extent;
}

} // namespace

JsonExtent jsonValueExtent(std::string_view text, int depthLimit)
{
    return bracketWalk(text, depthLimit, true);
}

JsonReader::JsonReader() = default;
JsonReader::~JsonReader() = default;

JsonReader::Status JsonReader::parse(std::string_view text)
{
    m_data.reset();
    m_error.clear();
    m_offset = 0;
    if (text.size() > kMaxJsonBytes)
        return Status::TooLarge;
    // Qt's parser has a nesting limit of its own, far deeper; the walk refuses first,
    // so a deep document never reaches the parser's recursion.
    if (bracketWalk(text, kMaxJsonDepth, false).depth > kMaxJsonDepth)
        return Status::TooDeep;
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size())), &error);
    if (error.error != QJsonParseError::NoError) {
        m_error = error.errorString().toStdString();
        m_offset = static_cast<std::size_t>(std::max(static_cast<long long>(error.offset), 0LL));
        return error.error == QJsonParseError::DeepNesting ? Status::TooDeep : Status::Invalid;
    }
    m_data = std::make_unique<Data>();
    m_data->document = std::move(document);
    return Status::Ok;
}

namespace {

struct LeafWalk {
    const JsonReader::LeafVisitor& visit;
    std::vector<JsonStep> path;
    std::vector<long long> sizes;

    void step(const QJsonValue& value)
    {
        switch (value.type()) {
        case QJsonValue::Double: {
            JsonValue leaf;
            leaf.kind = JsonValue::Kind::Number;
            leaf.number = value.toDouble();
            visit(path, sizes, leaf);
            break;
        }
        case QJsonValue::String: {
            JsonValue leaf;
            leaf.kind = JsonValue::Kind::Text;
            leaf.text = value.toString().toStdString();
            visit(path, sizes, leaf);
            break;
        }
        case QJsonValue::Array: {
            const QJsonArray array = value.toArray();
            path.push_back(JsonStep{true, {}, 0});
            sizes.push_back(array.size());
            for (qsizetype i = 0; i < array.size(); ++i) {
                path.back().index = i;
                step(array.at(i));
            }
            path.pop_back();
            sizes.pop_back();
            break;
        }
        case QJsonValue::Object: {
            const QJsonObject object = value.toObject();
            for (auto member = object.constBegin(); member != object.constEnd(); ++member) {
                path.push_back(JsonStep{false, member.key().toStdString(), 0});
                sizes.push_back(0);
                step(member.value());
                path.pop_back();
                sizes.pop_back();
            }
            break;
        }
        default:
            break;
        }
    }
};

} // namespace

void JsonReader::forEachLeaf(const LeafVisitor& visit) const
{
    if (!m_data)
        return;
    LeafWalk walk{visit, {}, {}};
    walk.step(m_data->document.isArray() ? QJsonValue(m_data->document.array())
                                         : QJsonValue(m_data->document.object()));
}

JsonValue JsonReader::find(const std::vector<JsonStep>& path) const
{
    JsonValue found;
    if (!m_data)
        return found;
    QJsonValue value = m_data->document.isArray() ? QJsonValue(m_data->document.array())
                                                  : QJsonValue(m_data->document.object());
    for (const JsonStep& step : path) {
        if (step.isIndex) {
            if (!value.isArray())
                return found;
            const QJsonArray array = value.toArray();
            const long long size = array.size();
            const long long index = step.index < 0 ? size + step.index : step.index;
            if (index < 0 || index >= size)
                return found;
            value = array.at(static_cast<qsizetype>(index));
        } else {
            if (!value.isObject())
                return found;
            const QJsonObject object = value.toObject();
            const auto member = object.constFind(QString::fromUtf8(step.key.data(), static_cast<qsizetype>(step.key.size())));
            if (member == object.constEnd())
                return found;
            value = *member;
        }
    }
    switch (value.type()) {
    case QJsonValue::Null:
        found.kind = JsonValue::Kind::Null;
        break;
    case QJsonValue::Bool:
        found.kind = JsonValue::Kind::Boolean;
        found.boolean = value.toBool();
        break;
    case QJsonValue::Double:
        found.kind = JsonValue::Kind::Number;
        found.number = value.toDouble();
        break;
    case QJsonValue::String:
        found.kind = JsonValue::Kind::Text;
        found.text = value.toString().toStdString();
        break;
    case QJsonValue::Array:
        found.kind = JsonValue::Kind::Array;
        break;
    case QJsonValue::Object:
        found.kind = JsonValue::Kind::Object;
        break;
    case QJsonValue::Undefined:
        break;
    }
    return found;
}

} // namespace tarvelo
