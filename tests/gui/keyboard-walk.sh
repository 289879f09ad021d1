#!/usr/bin/env bash
# A shop owner's first hour with the keyboard alone, on the real program: a 1366x768 X screen
# (Xvfb), a real window manager (openbox) and real key presses (xdotool).  Stock items and
# customers are added and changed, found with the search dialogs, sorted, printed, the tax rate
# is set, a sale entered with a printed receipt, and the program left with Exit.  What the keys did is then read from the tables
# (corvanta-db dump) and from the printed PDFs.
#
#   keyboard-walk.sh CORVANTA CORVANTA-DB [ARTIFACTS-DIR]
#
# Exit status 77 (skipped) when a tool it needs is missing.  On a failure the screen is saved
# as keyboard-walk-failure.png in ARTIFACTS-DIR (default: the current directory).
set -uo pipefail

corvanta=$1 db=$2 artifacts=${3:-$PWD}

if [ -z "${WALK_ON_DISPLAY:-}" ]; then
  for tool in xvfb-run openbox xdotool pdftotext; do
    if ! command -v "$tool" >/dev/null; then
      echo "skipped: $tool is not installed (scripts/install-deps.sh installs it)"
      exit 77
    fi
  done
  export WALK_ON_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1366x768x24" "$0" "$@"
fi

work=$(mktemp -d)
program_pid=
wm_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
export CORVANTA_REPORT_OUTPUT=$work/out CORVANTA_SHORT_DATE_FORMAT=M/d/yy
export QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

step="starting"
fail() {
  echo "FAILED at: $step"
  echo "  $*"
  echo "  active window: \"$(active)\""
  command -v import >/dev/null &&
    import -window root "$artifacts/keyboard-walk-failure.png" 2>/dev/null &&
    echo "  screen saved as $artifacts/keyboard-walk-failure.png"
  echo "--- program output"
  cat "$work/program.log" 2>/dev/null
  exit 1
}

active() { xdotool getactivewindow getwindowname 2>/dev/null; }

# Waits (up to 10 s, or $2 tenths of a second) until the window with this exact title is the
# active one.
expect_active() {
  local i
  for ((i = 0; i < ${2:-100}; ++i)); do
    [ "$(active)" = "$1" ] && return 0
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended while waiting for \"$1\""
    sleep 0.1
  done
  fail "expected the window \"$1\" to be active"
}

keys() { xdotool key --clearmodifiers --delay 40 "$@"; sleep 0.15; }
typed() { xdotool type --delay 20 "$1"; sleep 0.1; }

openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
# A window mapped before the window manager runs is managed but never given the keyboard: wait
# until openbox answers for the desktop.
for ((i = 0; i < 100; ++i)); do
  xdotool get_desktop >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool get_desktop >/dev/null 2>&1 || fail "openbox did not start"
"$corvanta" >"$work/program.log" 2>&1 &
program_pid=$!

main="Corvanta -- Main Form"
expect_active "$main" 300  # the splash has gone and the main window has the keyboard

step="the inventory: two items added with the keyboard alone"
keys Tab space  # from the first button (the clients) to the inventory
expect_active "Talvesk"
keys alt+a
typed "H200"
keys Tab
typed "Hand saw"
keys Tab
typed "19.5"
keys alt+v
keys alt+a
typed "A100"
keys Tab
typed "Wrench"
keys Tab
typed "8.25"
keys alt+v

step="the inventory: the search finds H200, Edit Entry changes it"
keys alt+s
expect_active "Search"
keys Return  # the chosen option, Search by Part Number
expect_active "Search"  # the input box
typed "H200"
keys Return
expect_active "Talvesk"
keys alt+e  # the first field, its text selected: typing replaces it
typed "H201"
keys alt+v

step="the inventory: the sort order dialog"
keys alt+o
expect_active "Order"
keys Down Return  # Order by Description
expect_active "Talvesk"

step="the inventory: Print Preview, and Print from the preview"
keys alt+p
expect_active "Print Preview"  # the file dialog, on stock.rpt
keys Return
expect_active "Print Preview - Stock Report"
keys ctrl+p
expect_active "Corvanta"  # where the PDF went
keys Return
expect_active "Talvesk"
keys alt+c
expect_active "$main"

step="the clients: two customers added with the keyboard alone"
keys shift+Tab space  # back from the inventory button to the clients
expect_active "Morvane"
keys alt+a
typed "Doe"
keys Tab
typed "Jane"
keys alt+r
keys alt+a
typed "Smith"
keys Tab
typed "John"
keys alt+r

step="the clients: the search finds Doe, Edit Entry changes her"
keys alt+s
expect_active "Search"
keys Return  # by last name
expect_active "Search"
typed "Doe"
keys Return
expect_active "Morvane"
keys alt+e
typed "Dow"
keys alt+r

step="the clients: sorted by last name and printed"
keys alt+l
keys alt+p
expect_active "Print Report (Use File 'Client' )"  # the file dialog, on the client list
keys Return
expect_active "Corvanta"
keys Return
expect_active "Morvane"
keys alt+o
expect_active "$main"

step="the tax rate"
keys Tab Tab Tab Tab Tab Tab Tab  # from the clients button, which had the focus, to Set SalesTax
keys space
expect_active "Set Tax Rate"
typed "7.25"
keys Return
expect_active "$main"

step="a sale with the keyboard alone: customer 2, three of the item on show, a receipt"
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab  # back from Set SalesTax
keys space
expect_active "Find Customer Form"  # on Continue: an existing customer
keys Return
expect_active "Search"  # on its chosen option, by last name
keys Down Return  # by customer number
expect_active "Search"  # the input box
typed "2"
keys Return
expect_active "Set First Order Number"  # the shop's first sale
typed "1001"
keys Return
expect_active "Sales Entry Form"  # in the quantity to order
typed "3"
keys Return  # Add to Order
expect_active "Choose Price Form"  # on the retail price
keys Return  # Continue
expect_active "Sales Entry Form"
keys Tab Tab Tab space  # past Add to Order and Find Product to Print Reciept
expect_active "Corvanta"  # where the receipt went
keys Return
expect_active "$main"

step="Exit"
keys alt+x
for ((i = 0; i < 50; ++i)); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && fail "the program is still running after Exit"
wait "$program_pid"
status=$?
program_pid=
[ "$status" -eq 0 ] || fail "the program ended with status $status"

step="what the keys stored and printed"
stock=$("$db" dump stock.db) || fail "cannot read the stock table"
clients=$("$db" dump clients.DB) || fail "cannot read the clients table"
tax=$("$db" dump TaxRate) || fail "cannot read the tax rate"
expect_line() {  # $1: table text, $2: what it is, $3: regular expression a line matches
  grep -Eq "$3" <<<"$1" || fail "$2: no line matches $3 in:"$'\n'"$1"
}
expect_line "$stock" "stock" '^"?H201"?,"?Hand saw"?,19\.5(,|$)'
expect_line "$stock" "stock" '^"?A100"?,"?Wrench"?,8\.25(,|$)'
[ "$(grep -c . <<<"$stock")" -eq 3 ] || fail "stock: expected two items in:"$'\n'"$stock"
expect_line "$clients" "clients" '^1,"?Dow"?,"?Jane"?(,|$)'
expect_line "$clients" "clients" '^2,"?Smith"?,"?John"?(,|$)'
expect_line "$tax" "tax rate" '^7\.25'
sales=$("$db" dump NewSales) || fail "cannot read the sales table"
billing=$("$db" dump BillingShipping) || fail "cannot read the billing table"
[ "$(grep -c . <<<"$sales")" -eq 2 ] || fail "sales: expected one line in:"$'\n'"$sales"
expect_line "$sales" "sales" '(^|,)3,[^,]*,2,1001,'
expect_line "$billing" "billing" '^1001,2,'
receipt_pdf=$(ls "$CORVANTA_REPORT_OUTPUT"/Reciept-*.pdf 2>/dev/null | head -1)
[ -n "$receipt_pdf" ] || fail "no receipt in the report output folder"
expect_line "$(pdftotext -layout "$receipt_pdf" -)" "receipt" '1001'
stock_pdf=$(ls "$CORVANTA_REPORT_OUTPUT"/stock-*.pdf 2>/dev/null | head -1)
client_pdf=$(ls "$CORVANTA_REPORT_OUTPUT"/client-*.pdf 2>/dev/null | head -1)
[ -n "$stock_pdf" ] || fail "no stock report in the report output folder"
[ -n "$client_pdf" ] || fail "no client list in the report output folder"
expect_line "$(pdftotext -layout "$stock_pdf" -)" "stock report" 'H201 +Hand saw'
expect_line "$(pdftotext -layout "$client_pdf" -)" "client list" 'Dow, Jane'
echo "keyboard walk passed"
