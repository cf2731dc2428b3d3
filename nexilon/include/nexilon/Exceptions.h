#pragma once

#include <stdexcept>
#include <string>

namespace nexilon {

// Every failure the framework and the program report. Built from the
// qualified operation name ("rix::CRixModulePlayer::Seek"), the source file
// name without extension ("RixModulePlayer"), the line and the message;
// thrown by value and caught by kind.
class CException : public std::exception {
public:
    CException(std::string function, std::string file, int line, std::string message);

    const std::string& GetFunction() const { return function; }
    const std::string& GetFile() const { return file; }
    int GetLine() const { return line; }
    const std::string& GetMessage() const { return message; }
    virtual const char* GetKind() const { return "CException"; }

    const char* what() const noexcept override { return message.c_str(); }

private:
    std::string function;
    std::string file;
    int line;
    std::string message;
};

#define NEXILON_EXCEPTION_KIND(Name)                                  \
    class Name : public CException {                                  \
    public:                                                           \
        using CException::CException;                                 \
        const char* GetKind() const override { return #Name; }        \
    };

NEXILON_EXCEPTION_KIND(CNullPtrException)
NEXILON_EXCEPTION_KIND(CIOException)
NEXILON_EXCEPTION_KIND(CDataFormatException)
NEXILON_EXCEPTION_KIND(CInvalidParameterException)
NEXILON_EXCEPTION_KIND(COperationNotSupportedException)

#undef NEXILON_EXCEPTION_KIND

} // namespace nexilon
