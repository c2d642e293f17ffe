#include "tools/admin/csv.h"

#include "tools/admin/cli.h"

namespace admin::csv {
namespace {

class Reader {
public:
    explicit Reader(const QString& text) : text_(text) {}

    Parsed readAll() {
        while (i_ < text_.size()) {
            if (atLineEnd()) {
                skipLineEnd();  // a blank line
                continue;
            }
            readRecord();
        }
        return std::move(parsed_);
    }

private:
    bool atLineEnd() const {
        return text_.at(i_) == u'\n' ||
               (text_.at(i_) == u'\r' && i_ + 1 < text_.size() && text_.at(i_ + 1) == u'\n');
    }
    void skipLineEnd() {
        i_ += text_.at(i_) == u'\r' ? 2 : 1;
        ++line_;
    }
    bool atValueEnd() const { return i_ >= text_.size() || text_.at(i_) == u',' || atLineEnd(); }

    void readRecord() {
        Record record{line_, {}};
        QString problem;
        for (;;) {
            if (text_.at(i_) == u'"') {
                std::optional<QString> value = quoted();
                if (!value) {
                    parsed_.problems.push_back({record.line, Text::tr("unclosed quote")});
                    return;  // the quote ran to the end of the input
                }
                record.values.emplace_back(std::move(*value));
                if (!atValueEnd()) {
                    problem = Text::tr("text after a closing quote");
                }
            } else {
                const qsizetype start = i_;
                while (!atValueEnd()) {
                    if (text_.at(i_) == u'"') {
                        problem = Text::tr("quote inside an unquoted value");
                    }
                    ++i_;
                }
                const QString value = text_.mid(start, i_ - start);
                record.values.push_back(value.isEmpty() ? Value() : Value(value));
            }
            if (!problem.isEmpty()) {
                // The rest of the line belongs to the broken record.
                while (i_ < text_.size() && !atLineEnd()) {
                    ++i_;
                }
            }
            if (i_ < text_.size() && text_.at(i_) == u',' && problem.isEmpty()) {
                ++i_;
                if (i_ >= text_.size()) {
                    record.values.emplace_back();  // a last empty value at the end of input
                    break;
                }
                continue;
            }
            if (i_ < text_.size()) {
                skipLineEnd();
            }
            break;
        }
        if (problem.isEmpty()) {
            parsed_.records.push_back(std::move(record));
        } else {
            parsed_.problems.push_back({record.line, problem});
        }
    }

    // A quoted value from its opening quote on; nullopt when it is never closed.
    std::optional<QString> quoted() {
        QString value;
        qsizetype start = ++i_;
        while (i_ < text_.size()) {
            const QChar c = text_.at(i_);
            if (c == u'"') {
                value += QStringView(text_).mid(start, i_ - start);
                if (i_ + 1 < text_.size() && text_.at(i_ + 1) == u'"') {
                    value += u'"';
                    i_ += 2;
                    start = i_;
                    continue;
                }
                ++i_;
                return value;
            }
            if (c == u'\n') {
                ++line_;
            }
            ++i_;
        }
        return std::nullopt;
    }

    const QString& text_;
    qsizetype i_ = 0;
    int line_ = 1;
    Parsed parsed_;
};

}  // namespace

void appendHeader(QByteArray& out, const QStringList& names,
                  const std::function<QByteArray(const QString&)>& encode) {
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        out += encode(names.at(i));
    }
    out += "\r\n";
}

void appendRecord(QByteArray& out, const std::vector<Value>& values,
                  const std::function<QByteArray(const QString&)>& encode) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        if (values[i]) {
            QString doubled = *values[i];
            doubled.replace(u'"', QStringLiteral("\"\""));
            out += '"';
            out += encode(doubled);
            out += '"';
        }
    }
    out += "\r\n";
}

Parsed parse(const QString& text) {
    return Reader(text).readAll();
}

}  // namespace admin::csv
