#include "Code/Code_Lexer.h"

#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace {
struct Keyword {
  TokenKind kind;
  double number;
};

const std::unordered_map<std::string, Keyword>& Keywords() {
  static const std::unordered_map<std::string, Keyword> words = {
      {"var", {TK_VAR, 0}}, {"globalvar", {TK_GLOBALVAR, 0}}, {"if", {TK_IF, 0}},
      {"then", {TK_THEN, 0}}, {"else", {TK_ELSE, 0}}, {"while", {TK_WHILE, 0}},
      {"do", {TK_DO, 0}}, {"until", {TK_UNTIL, 0}}, {"for", {TK_FOR, 0}},
      {"repeat", {TK_REPEAT, 0}}, {"with", {TK_WITH, 0}}, {"switch", {TK_SWITCH, 0}},
      {"case", {TK_CASE, 0}}, {"default", {TK_DEFAULT, 0}}, {"break", {TK_BREAK, 0}},
      {"continue", {TK_CONTINUE, 0}}, {"exit", {TK_EXIT, 0}}, {"return", {TK_RETURN, 0}},
      {"begin", {TK_LBRACE, 0}}, {"end", {TK_RBRACE, 0}}, {"and", {TK_ANDAND, 0}},
      {"or", {TK_OROR, 0}}, {"xor", {TK_XORXOR, 0}}, {"not", {TK_NOT, 0}},
      {"div", {TK_DIV, 0}}, {"mod", {TK_MOD, 0}}, {"true", {TK_NUMBER, 1}},
      {"false", {TK_NUMBER, 0}}, {"self", {TK_NUMBER, -1}}, {"other", {TK_NUMBER, -2}},
      {"all", {TK_NUMBER, -3}}, {"noone", {TK_NUMBER, -4}}, {"global", {TK_NUMBER, -5}},
  };
  return words;
}

struct Symbol {
  const char* text;
  TokenKind kind;
};
// Longest spellings first so that "<=" wins over "<".
const Symbol kSymbols[] = {
    {"<<", TK_SHL}, {">>", TK_SHR}, {"<=", TK_LE}, {">=", TK_GE}, {"==", TK_EQ}, {"!=", TK_NE},
    {"<>", TK_NE}, {"&&", TK_ANDAND}, {"||", TK_OROR}, {"^^", TK_XORXOR}, {":=", TK_COLONASSIGN},
    {"+=", TK_PLUSASSIGN}, {"-=", TK_MINUSASSIGN}, {"*=", TK_MULASSIGN}, {"/=", TK_DIVASSIGN},
    {"|=", TK_ORASSIGN}, {"&=", TK_ANDASSIGN}, {"^=", TK_XORASSIGN}, {"++", TK_INC}, {"--", TK_DEC},
    {"{", TK_LBRACE}, {"}", TK_RBRACE}, {"(", TK_LPAREN}, {")", TK_RPAREN}, {"[", TK_LBRACKET},
    {"]", TK_RBRACKET}, {",", TK_COMMA}, {";", TK_SEMI}, {":", TK_COLON}, {".", TK_DOT},
    {"=", TK_ASSIGN}, {"<", TK_LT}, {">", TK_GT}, {"|", TK_BITOR}, {"&", TK_BITAND},
    {"^", TK_BITXOR}, {"+", TK_PLUS}, {"-", TK_MINUS}, {"*", TK_STAR}, {"/", TK_SLASH},
    {"%", TK_MOD}, {"!", TK_NOT}, {"~", TK_TILDE},
};

bool IsNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct Failure {
  std::string& error;
  int& line;
  bool operator()(int at, const std::string& message) {
    error = message;
    line = at;
    return false;
  }
};
}  // namespace

bool Code_Lex(const char* text, size_t length, std::vector<Token>& tokens, std::string& error, int& errorLine) {
  Failure Fail{error, errorLine};
  tokens.clear();
  size_t p = 0;
  int line = 1;
  while (true) {
    // Blanks and comments.
    while (p < length) {
      char c = text[p];
      if (c == '\n') {
        ++line;
        ++p;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
        ++p;
      } else if (c == '/' && p + 1 < length && text[p + 1] == '/') {
        while (p < length && text[p] != '\n') ++p;
      } else if (c == '/' && p + 1 < length && text[p + 1] == '*') {
        int start = line;
        p += 2;
        while (p < length && !(text[p] == '*' && p + 1 < length && text[p + 1] == '/')) {
          if (text[p] == '\n') ++line;
          ++p;
        }
        if (p >= length) return Fail(start, "comment not closed");
        p += 2;
      } else {
        break;
      }
    }
    if (p >= length) break;

    Token t{TK_EOF, line, 0.0, {}};
    char c = text[p];
    if (IsNameStart(c)) {
      size_t s = p;
      while (p < length && (IsNameStart(text[p]) || IsDigit(text[p]))) ++p;
      t.text.assign(text + s, p - s);
      auto kw = Keywords().find(t.text);
      if (kw != Keywords().end()) {
        t.kind = kw->second.kind;
        t.number = kw->second.number;
      } else {
        t.kind = TK_NAME;
      }
    } else if (IsDigit(c) || (c == '.' && p + 1 < length && IsDigit(text[p + 1]))) {
      size_t s = p;
      while (p < length && IsDigit(text[p])) ++p;
      if (p + 1 < length && text[p] == '.' && IsDigit(text[p + 1])) {
        ++p;
        while (p < length && IsDigit(text[p])) ++p;
      }
      t.kind = TK_NUMBER;
      t.text.assign(text + s, p - s);
      t.number = std::strtod(t.text.c_str(), nullptr);
    } else if (c == '$') {
      size_t s = ++p;
      double value = 0;
      while (p < length && HexValue(text[p]) >= 0) value = value * 16 + HexValue(text[p++]);
      if (p == s) return Fail(line, "malformed hexadecimal number");
      t.kind = TK_NUMBER;
      t.text.assign(text + s - 1, p - s + 1);
      t.number = value;
    } else if (c == '"' || c == '\'') {
      int start = line;
      size_t s = ++p;
      while (p < length && text[p] != c) {
        if (text[p] == '\n') ++line;
        ++p;
      }
      if (p >= length) return Fail(start, "string not closed");
      t.kind = TK_STRING;
      t.text.assign(text + s, p - s);
      ++p;
    } else {
      for (const Symbol& sym : kSymbols) {
        size_t n = std::strlen(sym.text);
        if (p + n <= length && std::memcmp(text + p, sym.text, n) == 0) {
          t.kind = sym.kind;
          t.text = sym.text;
          p += n;
          break;
        }
      }
      if (t.kind == TK_EOF) {
        char shown[16];
        std::snprintf(shown, sizeof shown, (c > 32 && c < 127) ? "'%c'" : "byte %d",
                      (c > 32 && c < 127) ? c : static_cast<unsigned char>(c));
        return Fail(line, std::string("unexpected symbol ") + shown);
      }
    }
    tokens.push_back(std::move(t));
  }
  tokens.push_back(Token{TK_EOF, line, 0.0, {}});
  return true;
}

std::string Code_TokenText(const Token& t) {
  switch (t.kind) {
    case TK_EOF: return "end of the code";
    case TK_STRING: return "string \"" + t.text.substr(0, 40) + "\"";
    default: return "'" + t.text + "'";
  }
}
