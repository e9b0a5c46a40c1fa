#pragma once

#include <QString>

// The amount in Chinese capital numerals, as document forms print it: every digit
// with its unit (zeros included), 千 for thousands, 十 for the ten-hundred-millions,
// 整 for whole amounts. The sign is dropped; the amount is rounded to the cent,
// half away from zero. Amounts from 10^12 on continue with 万 拾 佰 千 (10^16 and
// beyond, NaN and infinity give an empty text).
QString MoneyMinToBig(double amount);
