#include "platform/translation.h"

#include <QCoreApplication>
#include <QString>

namespace tarvelo {

std::string translate(const char* context, const char* sourceText)
{
    return QCoreApplication::translate(context, sourceText).toStdString();
}

std::string fill(const std::string& templateText, std::initializer_list<std::string> values)
{
    std::string out;
    out.reserve(templateText.size());
    for (std::size_t i = 0; i < templateText.size(); ++i) {
        const char c = templateText[i];
        if (c != '%' || i + 1 >= templateText.size() || templateText[i + 1] < '1' || templateText[i + 1] > '9') {
            out += c;
            continue;
        }
        std::size_t number = static_cast<std::size_t>(templateText[i + 1] - '0');
        std::size_t end = i + 2;
        if (end < templateText.size() && templateText[end] >= '0' && templateText[end] <= '9') {
            number = number * 10 + static_cast<std::size_t>(templateText[end] - '0');
            ++end;
        }
        if (number > values.size()) {
            out.append(templateText, i, end - i);
        } else {
            out += *(values.begin() + (number - 1));
        }
        i = end - 1;
    }
    return out;
}

} // namespace tarvelo
