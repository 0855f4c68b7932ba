#pragma once
#include "core/Exception.h"

// Every failure of the database engine: the message names the table or file and what went wrong.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};
