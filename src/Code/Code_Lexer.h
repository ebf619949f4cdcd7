// Splits code text into tokens with their line numbers.
#pragma once
#include <string>
#include <vector>

enum TokenKind : unsigned char {
  TK_EOF, TK_NUMBER, TK_STRING, TK_NAME,
  TK_VAR, TK_GLOBALVAR, TK_IF, TK_THEN, TK_ELSE, TK_WHILE, TK_DO, TK_UNTIL, TK_FOR, TK_REPEAT,
  TK_WITH, TK_SWITCH, TK_CASE, TK_DEFAULT, TK_BREAK, TK_CONTINUE, TK_EXIT, TK_RETURN,
  TK_LBRACE, TK_RBRACE, TK_LPAREN, TK_RPAREN, TK_LBRACKET, TK_RBRACKET,
  TK_COMMA, TK_SEMI, TK_COLON, TK_DOT,
  // assignment operators
  TK_ASSIGN, TK_COLONASSIGN, TK_PLUSASSIGN, TK_MINUSASSIGN, TK_MULASSIGN, TK_DIVASSIGN,
  TK_ORASSIGN, TK_ANDASSIGN, TK_XORASSIGN,
  // binary operators, loosest first
  TK_OROR, TK_ANDAND, TK_XORXOR,
  TK_EQ, TK_NE, TK_LT, TK_LE, TK_GT, TK_GE,
  TK_BITOR, TK_BITAND, TK_BITXOR, TK_SHL, TK_SHR,
  TK_PLUS, TK_MINUS, TK_STAR, TK_SLASH, TK_DIV, TK_MOD,
  // unary only
  TK_NOT, TK_TILDE, TK_INC, TK_DEC,
};

struct Token {
  TokenKind kind;
  int line;
  double number;     // TK_NUMBER (keywords true, false, self ... are numbers)
  std::string text;  // the name, the string's contents, or the source spelling
};

// Fills tokens (ending in TK_EOF); false with the message and its line.
bool Code_Lex(const char* text, size_t length, std::vector<Token>& tokens, std::string& error, int& errorLine);
// A readable name of a token for messages.
std::string Code_TokenText(const Token& t);
