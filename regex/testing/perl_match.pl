#!/usr/bin/perl
# Matches cases read from standard input with Perl's own engine, one per line:
#   <perl pattern> TAB <subject as hex bytes, Windows-1251> TAB <1-based offset> TAB <groups>
# and writes one line per case:
#   "E" when Perl refuses the pattern, "N" for no match, or
#   "M s e s1 e1 ..." with the 0-based start and end of the match and of each
#   group (-1 -1 for a group that did not take part).
# Subjects are decoded from Windows-1251 so that Perl's Unicode rules (case
# folding) apply to the Cyrillic letters. Used by regex/tests/RegexPerlTest.cpp.
use strict;
use warnings;
no warnings;
use Encode qw(decode);

binmode STDOUT;
$| = 0;
while (my $line = <STDIN>) {
    chomp $line;
    my ($pattern, $hex, $offset, $groups) = split /\t/, $line, -1;
    my $subject = decode('cp1251', pack('H*', $hex));
    my $re = eval { qr/$pattern/u };
    if (!defined $re) {
        print "E\n";
        next;
    }
    pos($subject) = $offset - 1;
    if ($subject =~ /$re/g) {
        my @out = ($-[0], $+[0]);
        for my $g (1 .. $groups) {
            if (defined $-[$g]) {
                push @out, $-[$g], $+[$g];
            } else {
                push @out, -1, -1;
            }
        }
        print "M @out\n";
    } else {
        print "N\n";
    }
}
