#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

namespace verrolift::bench {

// Every diagnostic record of a handle, each as "[SQLSTATE] message ".
inline std::string OdbcDiagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::string all;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLCHAR state[6];
        SQLCHAR message[1024];
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(
                SQLGetDiagRec(type, handle, i, state, &native, message, sizeof message, &length)))
            break;
        all += std::string("[") + reinterpret_cast<char*>(state) + "] " +
               reinterpret_cast<char*>(message) + " ";
    }
    return all;
}

}  // namespace verrolift::bench
