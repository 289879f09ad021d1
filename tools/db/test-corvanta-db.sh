#!/usr/bin/env bash
# Runs corvanta-db as a person would and checks what it prints and returns.
# Usage: test-corvanta-db.sh PATH/TO/corvanta-db
set -u
db="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_status() {  # expected actual what
  [ "$1" = "$2" ] || fail "$3: exit status $2, expected $1"
}
contains() {  # file text what
  grep -qF -- "$2" "$1" || { fail "$3: '$2' not in output"; sed 's/^/  | /' "$1"; }
}

# Usage.
"$db" >"$work/out" 2>"$work/err"; expect_status 2 $? "no arguments"
contains "$work/err" "usage: corvanta-db create DIR" "no arguments"
"$db" --help >"$work/out" 2>"$work/err"; expect_status 0 $? "--help"
contains "$work/out" "corvanta-db dump TABLE" "--help"
"$db" frobnicate >"$work/out" 2>"$work/err"; expect_status 2 $? "unknown command"
contains "$work/err" "unknown command 'frobnicate'" "unknown command"
"$db" generate "$work/x" --stock ten >"$work/out" 2>"$work/err"; expect_status 2 $? "bad count"
contains "$work/err" "--stock takes a whole number" "bad count"

# create: both alias directories, mode 0700, five empty tables, engine.ini lines.
"$db" create "$work/shop" >"$work/shop.ini" 2>"$work/err"; expect_status 0 $? "create"
contains "$work/shop.ini" "DatabaseFiles = $work/shop/DatabaseFiles" "create"
contains "$work/shop.ini" "DatabaseFilesQVX = $work/shop/DatabaseFilesQVX" "create"
for d in DatabaseFiles DatabaseFilesQVX; do
  [ "$(stat -c %a "$work/shop/$d")" = 700 ] || fail "create: $d is not mode 700"
done
for f in DatabaseFiles/stock.db DatabaseFiles/clients.DB DatabaseFiles/NewSales.DB \
         DatabaseFiles/TaxRate.DB DatabaseFilesQVX/BillingShipping.DB; do
  [ -f "$work/shop/$f" ] || fail "create: $f missing"
done
"$db" create "$work/shop" >"$work/out" 2>"$work/err"; expect_status 0 $? "create again"
contains "$work/out" "0 created, 5 already there" "create again"

# check through the configuration in force.
CORVANTA_ENGINE_CONFIG="$work/shop.ini" "$db" check >"$work/out" 2>"$work/err"
expect_status 0 $? "check empty"
contains "$work/out" "5 tables checked, all fine." "check empty"
contains "$work/out" "Engine configuration: $work/shop.ini" "check empty"

# generate, then check and dump.
"$db" generate "$work/big" --stock 300 --clients 50 --sales 1000 --billing=250 --seed 7 \
  >"$work/big.ini" 2>"$work/err"; expect_status 0 $? "generate"
contains "$work/err" "NewSales: 1000 records" "generate"
export CORVANTA_ENGINE_CONFIG="$work/big.ini"
"$db" check --deep >"$work/out" 2>"$work/err"; expect_status 0 $? "check generated"
for t in "stock.db 300 records" "clients.DB 50 records" "NewSales 1000 records" \
         "TaxRate 1 record" "BillingShipping 250 records"; do
  set -- $t
  grep -qE "^  $1 +$2 $3, structure ok" "$work/out" || fail "check generated: no line for $t"
done
"$db" generate "$work/big" --sales 10 >"$work/out" 2>"$work/err"; expect_status 1 $? "generate twice"
contains "$work/err" "already holds records" "generate twice"

"$db" dump stock >"$work/stock.csv" 2>"$work/err"; expect_status 0 $? "dump stock"
[ "$(head -1 "$work/stock.csv")" = "PartNumber,Description,Price,Quantity,MinimumQuantity,DiscountPrice1,DiscountPrice2,DiscountPrice3,Category" ] \
  || fail "dump stock: header is '$(head -1 "$work/stock.csv")'"
[ "$(wc -l <"$work/stock.csv")" = 301 ] || fail "dump stock: $(wc -l <"$work/stock.csv") lines"
tail -n +2 "$work/stock.csv" | cut -d, -f1 >"$work/parts"
LC_ALL=C sort -c "$work/parts" || fail "dump stock: not in part number order"

"$db" dump newsales.db >"$work/sales.csv" 2>"$work/err"; expect_status 0 $? "dump sales"
[ "$(wc -l <"$work/sales.csv")" = 1001 ] || fail "dump sales: $(wc -l <"$work/sales.csv") lines"
tail -n +2 "$work/sales.csv" | cut -d, -f1 | sort -n -c || fail "dump sales: not in Item order"
walkin=$(tail -n +2 "$work/sales.csv" | cut -d, -f5 | grep -c '^1$')
[ "$walkin" -gt 150 ] || fail "generate: only $walkin walk-in lines of 1000"

# Texts that need quoting, written behind the engine's back.
sqlite3 "$work/big/DatabaseFiles/clients.DB" \
  "UPDATE clients SET LastName = 'O\"Neil, Jr.', FirstName = ' Ann' WHERE CustNum = 2"
"$db" dump clients >"$work/clients.csv" 2>"$work/err"; expect_status 0 $? "dump clients"
contains "$work/clients.csv" '2,"O""Neil, Jr."," Ann",' "dump quoting"
"$db" dump TaxRate >"$work/out" 2>"$work/err"
[ "$(cat "$work/out")" = "$(printf 'TaxRate\n8.25')" ] || fail "dump TaxRate: $(cat "$work/out")"

# check only reads: a table in rollback mode stays so, and a directory one may only read
# is checked all the same (as nobody where this runs as root, who may write anywhere).
sqlite3 "$work/big/DatabaseFiles/TaxRate.DB" "PRAGMA journal_mode=DELETE" >/dev/null
"$db" check >"$work/out" 2>"$work/err"; expect_status 0 $? "check rollback mode"
[ "$(sqlite3 "$work/big/DatabaseFiles/TaxRate.DB" "PRAGMA journal_mode")" = delete ] \
  || fail "check switched TaxRate.DB to WAL"
as_reader=""
if [ "$(id -u)" = 0 ]; then
  command -v setpriv >/dev/null && as_reader="setpriv --reuid=65534 --regid=65534 --clear-groups"
fi
if [ "$(id -u)" != 0 ] || [ -n "$as_reader" ]; then
  chmod 755 "$work" "$work/big"
  chmod 555 "$work/big/DatabaseFiles" "$work/big/DatabaseFilesQVX"
  chmod 644 "$work"/big/DatabaseFiles*/* "$work/big.ini"
  $as_reader "$db" check --deep >"$work/out" 2>"$work/err"; expect_status 0 $? "check read-only"
  contains "$work/out" "5 tables checked, all fine." "check read-only"
  chmod 700 "$work/big/DatabaseFiles" "$work/big/DatabaseFilesQVX"
else
  echo "check read-only: skipped (root, and no setpriv to become another user)"
fi

# --deep finds a key stored twice, which a unique index lets through when it is empty.
sqlite3 "$work/big/DatabaseFiles/stock.db" "INSERT INTO stock (Description) VALUES ('a'), ('b')"
"$db" check >"$work/out" 2>"$work/err"; expect_status 0 $? "check duplicate keys"
"$db" check --deep >"$work/out" 2>"$work/err"; expect_status 1 $? "check --deep duplicate keys"
contains "$work/err" "holds a key more than once: PartNumber '' (2 records)" "check --deep duplicate keys"
sqlite3 "$work/big/DatabaseFiles/stock.db" "DELETE FROM stock WHERE PartNumber IS NULL"
# A primary index that is not unique fails the check at once.
sqlite3 "$work/big/DatabaseFilesQVX/BillingShipping.DB" \
  "DROP INDEX BillingShipping_primary; CREATE INDEX BillingShipping_primary ON BillingShipping(OrderNumber)"
"$db" check >"$work/out" 2>"$work/err"; expect_status 1 $? "check index not unique"
contains "$work/err" "the index 'primary' is not unique" "check index not unique"
sqlite3 "$work/big/DatabaseFilesQVX/BillingShipping.DB" \
  "DROP INDEX BillingShipping_primary; CREATE UNIQUE INDEX BillingShipping_primary ON BillingShipping(OrderNumber)"

# Failures: error text on stderr, non-zero status.
"$db" dump invoices >"$work/out" 2>"$work/err"; expect_status 1 $? "dump unknown table"
contains "$work/err" "'invoices' is not a table of this shop" "dump unknown table"
mv "$work/big/DatabaseFiles/clients.DB" "$work/clients.saved"
"$db" check >"$work/out" 2>"$work/err"; expect_status 1 $? "check missing table"
contains "$work/err" "$work/big/DatabaseFiles/clients.DB" "check missing table"
contains "$work/out" "1 of 5 tables failed the check." "check missing table"
echo "not a table" >"$work/big/DatabaseFiles/clients.DB"
"$db" check >"$work/out" 2>"$work/err"; expect_status 1 $? "check foreign file"
contains "$work/err" "$work/big/DatabaseFiles/clients.DB" "check foreign file"
"$db" dump clients.DB >"$work/out" 2>"$work/err"; expect_status 1 $? "dump foreign file"
contains "$work/err" "$work/big/DatabaseFiles/clients.DB" "dump foreign file"
CORVANTA_ENGINE_CONFIG="$work/none.ini" "$db" check >"$work/out" 2>"$work/err"
expect_status 1 $? "check without configuration"
contains "$work/err" "Cannot read the engine configuration file '$work/none.ini'" "check without configuration"
printf '[Aliases]\nDatabaseFiles = %s\n' "$work/nowhere" >"$work/partial.ini"
CORVANTA_ENGINE_CONFIG="$work/partial.ini" "$db" check >"$work/out" 2>"$work/err"
expect_status 1 $? "check partial configuration"
contains "$work/err" "Unknown database: DatabaseFilesQVX" "check partial configuration"
contains "$work/err" "The directory '$work/nowhere' of database DatabaseFiles does not exist" "check partial configuration"
[ -e "$work/nowhere" ] && fail "check created the missing directory"

if [ "$failures" -eq 0 ]; then echo "corvanta-db: every check passed"; else echo "$failures failure(s)"; exit 1; fi
