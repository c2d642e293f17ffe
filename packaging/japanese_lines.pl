#!/usr/bin/perl
# Lets groff fill a Japanese manual page: groff breaks lines only at spaces, and Japanese text
# has none. Marks a break point (\:) between two wide characters, except before closing and
# after opening punctuation; joins a line break between two wide characters without a space
# (\c); and turns adjusting and hyphenation off, which such lines cannot take.
#   perl japanese_lines.pl < page.1 > page.ja.1
use strict;
use warnings;
use utf8;
binmode STDIN, ':encoding(UTF-8)';
binmode STDOUT, ':encoding(UTF-8)';

my $wide = qr/[\p{Ea=W}\p{Ea=F}]/;
my $noStart = '、。，．）」』：；！？ー';
my $noEnd = '（「『';
local $/;
my $page = <STDIN>;
$page =~ s/^(\.TH [^\n]*\n)/$1.na\n.nh\n/m;
# Text lines only: a line starting with a dot is a request or a macro.
$page =~ s{^([^.\n][^\n]*)$}{
    my $line = $1;
    $line =~ s{($wide)(?=($wide))}{
        index($noEnd, $1) >= 0 || index($noStart, $2) >= 0 ? $1 : "$1\\:"
    }ge;
    $line
}gme;
$page =~ s/^([^.\n][^\n]*$wide)\n(?=$wide)/$1\\c\n/gm;
print $page;
