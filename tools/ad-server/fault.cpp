#include "tools/ad-server/fault.h"

namespace rousa::adserver {

bool parseFault(const std::string& text, Fault& fault) {
    std::string kind = text.substr(0, text.find(':'));
    std::string argument = text.find(':') == std::string::npos ? "" : text.substr(text.find(':') + 1);
    auto number = [&](double& value) {
        try {
            size_t used = 0;
            value = std::stod(argument, &used);
            return used == argument.size() && value >= 0;
        } catch (...) {
            return false;
        }
    };
    double value = 0;
    if (kind == "delay" && number(value)) fault = Fault::delay(value);
    else if (kind == "status" && number(value) && value >= 100 && value < 600) fault = Fault::withStatus(static_cast<int>(value));
    else if (kind == "redirect" && number(value) && value >= 1 && value <= 20) fault = Fault::redirect(static_cast<int>(value));
    else if (kind == "truncate" && argument.empty()) fault = Fault::truncate();
    else if (kind == "garbage" && argument.empty()) fault = Fault::garbage();
    else if (kind == "drop" && argument.empty()) fault = Fault::drop();
    else return false;
    return true;
}

}  // namespace rousa::adserver
