// The CRM schema (db/CrmSchema.sql), built into the program: VrlDemoInstall and the tests
// create their databases from this one text.
#pragma once

#include <string>

const std::string& CrmSchemaSql();
