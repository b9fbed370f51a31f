#include "report_name.h"

#include <cstring>

#include "text_input.h"

bool report_file_name(char *name, char *typed_name, const char *game,
                      int number) {
  char suffix[8] = {'.', 'p'};
  std::size_t suffix_length = 2;
  if (number >= 10)
    suffix[suffix_length++] = static_cast<char>('0' + number / 10);
  suffix[suffix_length++] = static_cast<char>('0' + number % 10);

  std::size_t game_length = std::strlen(game);
  if (game_length + suffix_length >= NAME_BUFFER_SIZE)
    return false;
  std::memcpy(typed_name, game, game_length);
  std::memcpy(typed_name + game_length, suffix, suffix_length);
  typed_name[game_length + suffix_length] = '\0';
  std::memcpy(name, typed_name, game_length + suffix_length + 1);
  upper_case_ascii(name);
  return true;
}
