// Being written.
#pragma once
