// The result of parsing a stored text: the document, or the first error with its line.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <variant>

namespace emulated {

struct ParseError {
    std::size_t line = 0;  // 1-based; 0 when the error concerns the whole text
    std::string message;
};

template <class Document>
class Parsed {
public:
    Parsed(Document document) : state_(std::move(document)) {}
    Parsed(ParseError error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    const Document& value() const& { return std::get<0>(state_); }
    Document&& value() && { return std::get<0>(std::move(state_)); }
    const ParseError& error() const { return std::get<1>(state_); }

private:
    std::variant<Document, ParseError> state_;
};

}  // namespace emulated
