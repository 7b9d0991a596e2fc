#include "CliArguments.h"

std::optional<std::string> CliArguments::Option(const std::string& name) const
{
    const auto found = Options.find(name);
    if (found == Options.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<CliArguments> ParseCliArguments(const std::vector<std::string>& words, std::string& error)
{
    CliArguments arguments;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--yes") {
            arguments.Yes = true;
        } else if (word == "--help" || word == "-h") {
            arguments.Help = true;
        } else if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            std::string name = word.substr(2);
            std::string value;
            if (const auto equals = name.find('='); equals != std::string::npos) {
                value = name.substr(equals + 1);
                name.resize(equals);
            } else if (i + 1 < words.size()) {
                value = words[++i];
            } else {
                error = "option --" + name + " needs a value";
                return std::nullopt;
            }
            arguments.Options[name] = value;
        } else {
            arguments.Positional.push_back(word);
        }
    }
    return arguments;
}
