// The system's reason for a failed file operation, in Polish. The program
// runs under the C locale, where strerror gives English texts ("No such file
// or directory"); every reader and writer of files words the common causes
// through this one table.
#pragma once

#include <string>

// The reason for errno value e, lower case and without a full stop:
// "nie ma takiego pliku ani katalogu". A cause outside the table keeps the
// system's own text with its number: "błąd systemu nr 71 (Protocol error)".
std::string OpisBleduSystemu(int e);
