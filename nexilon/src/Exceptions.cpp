#include "nexilon/Exceptions.h"

namespace nexilon {

CException::CException(std::string function, std::string file, int line, std::string message)
    : function(std::move(function)), file(std::move(file)), line(line), message(std::move(message))
{
}

} // namespace nexilon
