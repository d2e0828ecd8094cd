#include "PostgresServer.h"
